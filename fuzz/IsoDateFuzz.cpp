// The timestamp reader every presentation function uses on text that came
// from the service. A date it reads, written back to the second in UTC, must
// read as the same instant rounded down to the second.

#include "fuzz/FuzzCheck.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/time/InternetDateTime.h"

#include <chrono>

namespace {

// 0000-01-01T00:00:00Z and 9999-12-31T23:59:59Z, the years the writer keeps.
constexpr std::int64_t firstWritableSecond = -62'167'219'200;
constexpr std::int64_t lastWritableSecond = 253'402'300'799;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace OrvelKit;
    const auto date = Presentation::parseISO(OrvelFuzz::text(data, size));
    if (!date) {
        return 0;
    }
    (void)Presentation::relativeTime(date, Date::fromSecondsSinceEpoch(1'796'551'200));
    const std::int64_t second = std::chrono::floor<std::chrono::seconds>(
                                    std::chrono::microseconds(date->microsecondsSinceEpoch()))
                                    .count();
    if (second < firstWritableSecond || second > lastWritableSecond) {
        return 0;
    }
    const auto again = Presentation::parseISO(formatInternetDateTime(*date));
    FUZZ_CHECK(again);
    FUZZ_CHECK(again->microsecondsSinceEpoch() == second * 1'000'000);
    return 0;
}
