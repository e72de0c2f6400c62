#pragma once

#include "orvelkit/config/ConfigStore.h"

#include <utility>

namespace OrvelKit {

// Holds one configuration in memory; writes nothing anywhere.
class MemoryConfigStore final : public ConfigStore {
public:
    explicit MemoryConfigStore(AppConfig config = {}) : config_(std::move(config)) {}

    Expected<AppConfig, FileError> load() override { return config_; }
    void save(const AppConfig& config) override { config_ = config; }

private:
    AppConfig config_;
};

} // namespace OrvelKit
