#include "orvelkit/config/FileConfigStore.h"

#include "orvelkit/json/JsonCodec.h"

namespace OrvelKit {

namespace Json {
ORVEL_JSON_INSTANTIATE(AppConfig)
} // namespace Json

FileConfigStore::FileConfigStore(std::filesystem::path file, StoreDiagnosticSink diagnostics)
    : file_(std::move(file), std::move(diagnostics)) {}

Expected<AppConfig, FileError> FileConfigStore::load() {
    auto contents = file_.read();
    if (!contents) {
        return unexpected(std::move(contents).error());
    }
    if (!*contents) {
        return AppConfig::defaultConfiguration();
    }
    auto config = Json::decode<AppConfig>(StoreFile::text(**contents));
    if (!config) {
        // Decoding errors name keys, types and numbers, never the text of a
        // string, so no token reaches the diagnostics.
        file_.reject(config.error().description());
        return AppConfig::defaultConfiguration();
    }
    return std::move(config).value();
}

void FileConfigStore::save(const AppConfig& config) {
    auto json = Json::encode(config);
    if (!json) {
        file_.report(StoreDiagnostic::Event::encodeFailed, json.error().description());
        return;
    }
    // The app saves after every sync; an unchanged configuration costs no
    // write and no flush to the device.
    file_.writeIfChanged(*json);
}

} // namespace OrvelKit
