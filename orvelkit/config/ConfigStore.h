#pragma once

#include "orvelkit/config/AppConfig.h"
#include "orvelkit/store/FileError.h"
#include "orvelkit/support/Expected.h"

namespace OrvelKit {

// Keeps the configuration across launches. load() gives the default
// configuration when nothing usable is stored, and an error only when a
// stored file exists but cannot be read; nothing is saved over such a file.
// save() is silent.
class ConfigStore {
public:
    virtual ~ConfigStore() = default;

    virtual Expected<AppConfig, FileError> load() = 0;
    virtual void save(const AppConfig& config) = 0;
};

} // namespace OrvelKit
