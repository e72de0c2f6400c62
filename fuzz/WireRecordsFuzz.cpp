// Every other wire record: the first byte of the input picks the record type,
// the rest is the JSON text. Whatever decodes must encode and read back equal.

#include "fuzz/FuzzCheck.h"
#include "fuzz/RecordRoundTrip.h"
#include "fuzz/WireRecordTypes.h"
#include "orvelkit/protocol/Protocol.h"

#include <tuple>
#include <utility>

namespace {

template <std::size_t... I>
void decodeAs(std::size_t index, std::string_view json, std::index_sequence<I...>) {
    (void)((index == I ? (OrvelFuzz::decodeAndRoundTrip<
                              std::tuple_element_t<I, OrvelFuzz::WireRecordTypes>>(json),
                          true)
                       : false) ||
           ...);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    constexpr std::size_t count = std::tuple_size_v<OrvelFuzz::WireRecordTypes>;
    decodeAs(data[0] % count, OrvelFuzz::text(data + 1, size - 1),
             std::make_index_sequence<count>{});
    return 0;
}
