#pragma once

#include "orvelkit/config/ConfigStore.h"
#include "orvelkit/store/StoreDiagnostic.h"
#include "orvelkit/store/StoreFile.h"

#include <filesystem>

namespace OrvelKit {

// The configuration as a JSON file ("config.json"). Every load reads the file
// again; nothing is cached.
//
// The file holds the device token and every channel's publish token, which
// the service shows only once, so it is never destroyed by accident: a file
// that cannot be read is an error and is not written over until it can be
// read; one that is read but does not decode is moved aside
// ("config.json.unreadable-<UTC time>") before the default configuration is
// returned. Saves replace the file atomically (see AtomicFile.h) with mode 0600
// and create missing directories with mode 0700.
class FileConfigStore final : public ConfigStore {
public:
    explicit FileConfigStore(std::filesystem::path file, StoreDiagnosticSink diagnostics = {});

    Expected<AppConfig, FileError> load() override;
    void save(const AppConfig& config) override;

    const std::filesystem::path& file() const { return file_.path(); }

private:
    StoreFile file_;
};

} // namespace OrvelKit
