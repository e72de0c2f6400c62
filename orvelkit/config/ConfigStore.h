#pragma once

#include "orvelkit/config/AppConfig.h"

namespace OrvelKit {

// Keeps the configuration across launches. Never reports failure: load()
// falls back to the default configuration and save() is silent.
class ConfigStore {
public:
    virtual ~ConfigStore() = default;

    virtual AppConfig load() = 0;
    virtual void save(const AppConfig& config) = 0;
};

} // namespace OrvelKit
