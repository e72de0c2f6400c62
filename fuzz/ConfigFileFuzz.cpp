// The configuration file ("config.json") as FileConfigStore reads it: what
// decodes must be written back and read again unchanged, or the next save
// would lose the device token or a channel's publish token.

#include "fuzz/FuzzCheck.h"
#include "fuzz/RecordRoundTrip.h"
#include "orvelkit/config/AppConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto config = OrvelFuzz::decodeAndRoundTrip<OrvelKit::AppConfig>(OrvelFuzz::text(data, size));
    if (!config) {
        return 0;
    }
    // What the app model does with a loaded configuration first.
    (void)config->isPaired();
    (void)config->baseURL();
    if (!config->channels.empty()) {
        auto copy = *config;
        copy.addOrUpdate(config->channels.back());
        FUZZ_CHECK(copy.channels.size() == config->channels.size());
    }
    return 0;
}
