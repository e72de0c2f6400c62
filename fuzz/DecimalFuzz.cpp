// The decimal reader of the card arithmetic, on values agents send. A
// number it reads must write as plain text that reads back as the same
// number; sums do not depend on the order of their terms. Two numbers are
// taken from the input, split at the first ";".

#include "fuzz/FuzzCheck.h"
#include "orvelkit/presentation/Decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using OrvelKit::Decimal;
    const std::string_view input = OrvelFuzz::text(data, size);
    const auto split = input.find(';');
    const std::string_view first = input.substr(0, split);

    const auto a = Decimal::parse(first);
    if (!a) {
        return 0;
    }
    const auto written = a->plainString();
    const auto reread = Decimal::parse(written);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(*reread == *a);
    FUZZ_CHECK(reread->plainString() == written);
    FUZZ_CHECK(a->isZero() == (written == "0"));

    const auto plusZero = a->adding(Decimal());
    FUZZ_CHECK(plusZero && *plusZero == *a);

    if (split == std::string_view::npos) {
        return 0;
    }
    const auto b = Decimal::parse(input.substr(split + 1));
    if (!b) {
        return 0;
    }
    const auto ab = a->adding(*b);
    const auto ba = b->adding(*a);
    FUZZ_CHECK(ab.has_value() == ba.has_value());
    if (ab) {
        FUZZ_CHECK(*ab == *ba);
        FUZZ_CHECK(Decimal::parse(ab->plainString()) == ab);
    }
    return 0;
}
