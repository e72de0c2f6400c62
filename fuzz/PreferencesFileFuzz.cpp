// The preferences file ("preferences.json") as FilePreferences reads it.
// Whatever it reads must be written back in a form that reads as the same
// entries, values and their types included: dates in particular go through
// the store's own text form.

#include "fuzz/FuzzCheck.h"
#include "orvel/core/FilePreferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Orvel::FilePreferences;
    auto entries = FilePreferences::parse(OrvelFuzz::text(data, size));
    if (!entries) {
        FUZZ_CHECK(!entries.error().empty());
        return 0;
    }
    const std::string written = FilePreferences::serialize(*entries);
    auto reread = FilePreferences::parse(written);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(reread->size() == entries->size());
    for (const auto& [key, entry] : *entries) {
        const auto found = reread->find(key);
        FUZZ_CHECK(found != reread->end());
        FUZZ_CHECK(found->second.json == entry.json);
        FUZZ_CHECK(found->second.value.has_value() == entry.value.has_value());
        if (entry.value) {
            FUZZ_CHECK(found->second.value->index() == entry.value->index());
        }
    }
    FUZZ_CHECK(FilePreferences::serialize(*reread) == written);
    return 0;
}
