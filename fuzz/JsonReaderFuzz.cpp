// The pull reader against simdjson's DOM parser: both accept a text or both
// reject it, and where both accept, the strings (keys and values, unescaped)
// come out the same, in the same order. The DOM also refuses numbers it
// cannot represent (2^64, 1e400), which the reader rightly leaves to its
// caller: those texts are compared only where the reader rejects them.

#include "fuzz/FuzzCheck.h"
#include "orvelkit/json/JsonReader.h"

#include <simdjson.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

using OrvelKit::Json::JsonReader;

// Deeper than any input libFuzzer makes here, so nesting never decides.
constexpr std::size_t nestingLimit = 5000;

bool walk(JsonReader& in, std::size_t depth, std::vector<std::string>& strings) {
    JsonReader::Kind kind{};
    if (!in.peek(kind) || depth > nestingLimit) {
        return false;
    }
    switch (kind) {
    case JsonReader::Kind::object:
    case JsonReader::Kind::array: {
        const bool object = kind == JsonReader::Kind::object;
        bool empty = false;
        if (!(object ? in.beginObject(empty) : in.beginArray(empty))) {
            return false;
        }
        for (bool more = !empty; more;) {
            std::string_view key;
            if (object && !in.key(key)) {
                return false;
            }
            if (object) {
                strings.emplace_back(key);
            }
            if (!walk(in, depth + 1, strings) ||
                !(object ? in.nextMember(more) : in.nextElement(more))) {
                return false;
            }
        }
        return true;
    }
    case JsonReader::Kind::string: {
        std::string_view text;
        if (!in.string(text)) {
            return false;
        }
        strings.emplace_back(text);
        return true;
    }
    case JsonReader::Kind::number: {
        std::string_view token;
        return in.number(token);
    }
    case JsonReader::Kind::boolean: {
        bool flag = false;
        return in.boolean(flag);
    }
    case JsonReader::Kind::null:
        return in.null();
    }
    return false;
}

void collect(simdjson::dom::element element, std::vector<std::string>& strings) {
    switch (element.type()) {
    case simdjson::dom::element_type::OBJECT:
        for (auto field : simdjson::dom::object(element)) {
            strings.emplace_back(field.key);
            collect(field.value, strings);
        }
        break;
    case simdjson::dom::element_type::ARRAY:
        for (auto item : simdjson::dom::array(element)) {
            collect(item, strings);
        }
        break;
    case simdjson::dom::element_type::STRING:
        strings.emplace_back(std::string_view(element));
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = OrvelFuzz::text(data, size);

    std::string scratch;
    std::vector<std::string> read;
    JsonReader in(text, scratch);
    const bool accepted = in.checkEncoding() && walk(in, 0, read) && in.atEnd();
    FUZZ_CHECK(accepted || !in.problem().empty());

    constexpr std::size_t largestText = std::size_t{1} << 20;
    static simdjson::dom::parser parser;
    static const bool ready = parser.allocate(largestText, nestingLimit + 1) == simdjson::SUCCESS;
    FUZZ_CHECK(ready);
    if (size > largestText) {
        return 0;
    }
    const simdjson::padded_string padded(text);
    simdjson::dom::element root;
    const simdjson::error_code error = parser.parse(padded).get(root);
    if (error == simdjson::NUMBER_ERROR) {
        return 0;
    }
    FUZZ_CHECK(accepted == (error == simdjson::SUCCESS));
    if (accepted) {
        std::vector<std::string> parsed;
        collect(root, parsed);
        FUZZ_CHECK(read == parsed);
    }
    return 0;
}
