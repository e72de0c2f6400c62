#pragma once

// The decoding half of the schema codec, over simdjson's On-Demand API: the
// records are filled while the text is read, without building a document tree
// first. Include this only from .cpp files that instantiate decoders; everyone
// else uses Json.h.
//
// On-Demand reads only what it is asked for, so this decoder asks for
// everything: values under keys a record does not list are walked and checked
// (syntax, escapes, nesting depth) but never interpreted, which lets them hold
// numbers no 64-bit type can (2^64, 1e400), and a text with a fault anywhere,
// or anything after its one value, still fails as a whole.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/Schema.h"

#include <simdjson.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace OrvelKit::Json::detail {

namespace ondemand = simdjson::ondemand;

// Collects the failure and, while unwinding, the key path that led to it.
// Nothing is allocated on the success path. A text that is not JSON at all
// fails without a path.
class DecodeFailure {
public:
    void fail(std::string message) { message_ = std::move(message); }
    void malformed(simdjson::error_code error) {
        malformed_ = true;
        message_ = concat({"malformed JSON: ", simdjson::error_message(error)});
    }
    void atKey(std::string_view key) {
        if (!malformed_) {
            reversedPath_.emplace_back(key);
        }
    }
    void atIndex(std::size_t index) {
        if (!malformed_) {
            reversedPath_.push_back(concat({"[", std::to_string(index), "]"}));
        }
    }

    DecodeError error() const {
        std::string path;
        for (auto it = reversedPath_.rbegin(); it != reversedPath_.rend(); ++it) {
            if (!path.empty() && it->front() != '[') {
                path += '.';
            }
            path += *it;
        }
        return DecodeError{std::move(path), message_};
    }

private:
    bool malformed_ = false;
    std::string message_;
    std::vector<std::string> reversedPath_;
};

inline bool malformedJson(simdjson::error_code error, DecodeFailure& failure) {
    failure.malformed(error);
    return false;
}

// Values under unlisted keys nest at most this deep. The records themselves
// nest a few levels, so the whole stays far inside the parser's own limit
// (simdjson::DEFAULT_MAX_DEPTH, 1024), and the walk's recursion is bounded.
inline constexpr std::size_t maxUnlistedNesting = 256;

inline std::string_view typeName(ondemand::json_type type) {
    using ondemand::json_type;
    switch (type) {
    case json_type::array:
        return "an array";
    case json_type::object:
        return "an object";
    case json_type::number:
        return "a number";
    case json_type::string:
        return "a string";
    case json_type::boolean:
        return "a boolean";
    case json_type::null:
        return "null";
    }
    return "an unknown value";
}

// `value` is not the `wanted` kind of value. When it is, after all, that kind
// (a misspelt `true`, say), the text is malformed rather than mistyped.
inline bool mismatch(ondemand::value& value, ondemand::json_type wanted, std::string_view expected,
                     DecodeFailure& failure) {
    ondemand::json_type found{};
    if (auto error = value.type().get(found)) {
        return malformedJson(error, failure);
    }
    if (found == wanted) {
        return malformedJson(simdjson::TAPE_ERROR, failure);
    }
    failure.fail(concat({"expected ", expected, ", found ", typeName(found)}));
    return false;
}

// A failed get_…(): the value is of another type, or the text is broken.
inline bool wrongValue(simdjson::error_code error, ondemand::value& value,
                       ondemand::json_type wanted, std::string_view expected,
                       DecodeFailure& failure) {
    if (error != simdjson::INCORRECT_TYPE) {
        return malformedJson(error, failure);
    }
    return mismatch(value, wanted, expected, failure);
}

// The token of a scalar without the white space that follows it.
inline std::string_view scalarToken(ondemand::value& value) {
    std::string_view token = value.raw_json_token();
    while (!token.empty() && (token.back() == ' ' || token.back() == '\n' || token.back() == '\r' ||
                              token.back() == '\t')) {
        token.remove_suffix(1);
    }
    return token;
}

// JSON's number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
inline bool isJsonNumber(std::string_view token) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < token.size() && token[at] >= '0' && token[at] <= '9') {
            ++at;
        }
        return at - from;
    };
    if (at < token.size() && token[at] == '-') {
        ++at;
    }
    const std::size_t integerStart = at;
    const std::size_t integerDigits = digits();
    if (integerDigits == 0 || (integerDigits > 1 && token[integerStart] == '0')) {
        return false;
    }
    if (at < token.size() && token[at] == '.') {
        ++at;
        if (digits() == 0) {
            return false;
        }
    }
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-')) {
            ++at;
        }
        if (digits() == 0) {
            return false;
        }
    }
    return at == token.size();
}

// Checks a value nobody reads: its syntax, its strings' escapes and its
// depth, without converting numbers.
inline bool skipValue(ondemand::value& value, std::size_t depth, DecodeFailure& failure) {
    using ondemand::json_type;
    json_type type{};
    if (auto error = value.type().get(type)) {
        return malformedJson(error, failure);
    }
    switch (type) {
    case json_type::array: {
        if (depth >= maxUnlistedNesting) {
            return malformedJson(simdjson::DEPTH_ERROR, failure);
        }
        ondemand::array array;
        if (auto error = value.get_array().get(array)) {
            return malformedJson(error, failure);
        }
        for (auto item : array) {
            ondemand::value element;
            if (auto error = item.get(element)) {
                return malformedJson(error, failure);
            }
            if (!skipValue(element, depth + 1, failure)) {
                return false;
            }
        }
        return true;
    }
    case json_type::object: {
        if (depth >= maxUnlistedNesting) {
            return malformedJson(simdjson::DEPTH_ERROR, failure);
        }
        ondemand::object object;
        if (auto error = value.get_object().get(object)) {
            return malformedJson(error, failure);
        }
        for (auto member : object) {
            ondemand::field field;
            std::string_view key;
            if (auto error = std::move(member).get(field)) {
                return malformedJson(error, failure);
            }
            if (auto error = field.unescaped_key().get(key)) {
                return malformedJson(error, failure);
            }
            if (!skipValue(field.value(), depth + 1, failure)) {
                return false;
            }
        }
        return true;
    }
    case json_type::number:
        return isJsonNumber(scalarToken(value)) || malformedJson(simdjson::NUMBER_ERROR, failure);
    case json_type::string: {
        std::string_view text;
        if (auto error = value.get_string().get(text)) {
            return malformedJson(error, failure);
        }
        return true;
    }
    case json_type::boolean: {
        bool flag = false;
        if (auto error = value.get_bool().get(flag)) {
            return malformedJson(error == simdjson::INCORRECT_TYPE ? simdjson::T_ATOM_ERROR : error,
                                 failure);
        }
        return true;
    }
    case json_type::null: {
        bool null = false;
        if (auto error = value.is_null().get(null)) {
            return malformedJson(error == simdjson::INCORRECT_TYPE ? simdjson::N_ATOM_ERROR : error,
                                 failure);
        }
        return null || malformedJson(simdjson::N_ATOM_ERROR, failure);
    }
    }
    return malformedJson(simdjson::TAPE_ERROR, failure);
}

// A string's text. One without escapes is read where it lies in the input
// (already checked for UTF-8 and control characters before any value is
// read); only one with escapes is unescaped into the parser's buffer.
inline bool decodeText(ondemand::value& value, std::string_view& text, DecodeFailure& failure) {
    const std::string_view token = scalarToken(value);
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
        const std::string_view inside = token.substr(1, token.size() - 2);
        if (std::memchr(inside.data(), '\\', inside.size()) == nullptr) {
            text = inside;
            return true;
        }
    }
    if (auto error = value.get_string().get(text)) {
        return wrongValue(error, value, ondemand::json_type::string, "a string", failure);
    }
    return true;
}

inline bool decodeValue(ondemand::value& value, std::string& out, DecodeFailure& failure) {
    std::string_view text;
    if (!decodeText(value, text, failure)) {
        return false;
    }
    out = std::string(text); // cheaper than assign() into the empty string
    return true;
}

inline bool decodeValue(ondemand::value& value, bool& out, DecodeFailure& failure) {
    if (auto error = value.get_bool().get(out)) {
        return wrongValue(error, value, ondemand::json_type::boolean, "a boolean", failure);
    }
    return true;
}

// Unsigned integers are exact: negatives, fractions, exponent forms and
// numbers beyond `max` fail, named as they were written.
inline bool decodeUnsigned(ondemand::value& value, std::uint64_t max, std::string_view what,
                           std::uint64_t& out, DecodeFailure& failure) {
    ondemand::json_type type{};
    if (auto error = value.type().get(type)) {
        return malformedJson(error, failure);
    }
    if (type != ondemand::json_type::number) {
        return mismatch(value, ondemand::json_type::number, what, failure);
    }
    const std::string_view token = scalarToken(value);
    if (!isJsonNumber(token)) {
        return malformedJson(simdjson::NUMBER_ERROR, failure);
    }
    if (token == "-0") {
        out = 0;
        return true;
    }
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, out);
    if (error != std::errc{} || stop != end || out > max) {
        failure.fail(concat({token, " is not ", what}));
        return false;
    }
    return true;
}

inline bool decodeValue(ondemand::value& value, std::uint64_t& out, DecodeFailure& failure) {
    return decodeUnsigned(value, UINT64_MAX, "an unsigned 64-bit integer", out, failure);
}

inline bool decodeValue(ondemand::value& value, std::uint8_t& out, DecodeFailure& failure) {
    std::uint64_t wide = 0;
    if (!decodeUnsigned(value, UINT8_MAX, "an integer from 0 to 255", wide, failure)) {
        return false;
    }
    out = static_cast<std::uint8_t>(wide);
    return true;
}

template <Enumeration E>
bool decodeValue(ondemand::value& value, E& out, DecodeFailure& failure) {
    std::string_view name;
    if (!decodeText(value, name, failure)) {
        return false;
    }
    if (auto parsed = fromText<E>(name)) {
        out = *parsed;
        return true;
    }
    failure.fail(concat({"\"", name, "\" is not one of ", caseList<E>()}));
    return false;
}

template <Record T>
bool decodeValue(ondemand::value& value, T& out, DecodeFailure& failure);

template <class T>
bool decodeValue(ondemand::value& value, std::vector<T>& out, DecodeFailure& failure) {
    ondemand::array array;
    if (auto error = value.get_array().get(array)) {
        return wrongValue(error, value, ondemand::json_type::array, "an array", failure);
    }
    out.clear();
    // Counting first is a quick walk over the array's structure, and saves
    // the list's regrowth (and its peaks of memory) for long lists.
    std::size_t count = 0;
    if (auto error = array.count_elements().get(count)) {
        return malformedJson(error, failure);
    }
    out.reserve(count);
    std::size_t index = 0;
    for (auto item : array) {
        ondemand::value element;
        if (auto error = item.get(element)) {
            return malformedJson(error, failure);
        }
        if (!decodeValue(element, out.emplace_back(), failure)) {
            failure.atIndex(index);
            return false;
        }
        ++index;
    }
    return true;
}

// null, or a broken text where a null was expected.
inline std::optional<bool> isNull(ondemand::value& value, DecodeFailure& failure) {
    bool null = false;
    if (auto error = value.is_null().get(null)) {
        malformedJson(error == simdjson::INCORRECT_TYPE ? simdjson::N_ATOM_ERROR : error, failure);
        return std::nullopt;
    }
    return null;
}

// One key of a record: decode a present value under its presence rule.
template <class R, class M>
bool decodeKey(const RequiredKey<R, M>& key, ondemand::value& value, R& out,
               DecodeFailure& failure) {
    const std::optional<bool> null = isNull(value, failure);
    if (!null) {
        return false;
    }
    if (*null) {
        failure.fail("required value is null");
        return false;
    }
    return decodeValue(value, out.*key.member, failure);
}

template <class R, class M>
bool decodeKey(const OptionalKey<R, M>& key, ondemand::value& value, R& out,
               DecodeFailure& failure) {
    const std::optional<bool> null = isNull(value, failure);
    if (!null) {
        return false;
    }
    if (*null) {
        (out.*key.member).reset();
        return true;
    }
    if constexpr (std::is_same_v<M, std::string>) {
        // Built from the text in place rather than assigned into an empty one.
        std::string_view text;
        if (!decodeText(value, text, failure)) {
            return false;
        }
        (out.*key.member).emplace(text);
        return true;
    } else {
        return decodeValue(value, (out.*key.member).emplace(), failure);
    }
}

template <class R, class M>
bool decodeKey(const DefaultedKey<R, M>& key, ondemand::value& value, R& out,
               DecodeFailure& failure) {
    const std::optional<bool> null = isNull(value, failure);
    if (!null) {
        return false;
    }
    if (*null) {
        out.*key.member = key.fallback;
        return true;
    }
    return decodeValue(value, out.*key.member, failure);
}

// A key that did not occur in the object.
template <class R, class M>
bool decodeMissing(const RequiredKey<R, M>&, R&, DecodeFailure& failure) {
    failure.fail("required key is missing");
    return false;
}

template <class R, class M>
bool decodeMissing(const OptionalKey<R, M>& key, R& out, DecodeFailure&) {
    (out.*key.member).reset();
    return true;
}

template <class R, class M>
bool decodeMissing(const DefaultedKey<R, M>& key, R& out, DecodeFailure&) {
    out.*key.member = key.fallback;
    return true;
}

// The keys of a record's schema, in schema order. (A function-local static:
// it is ready whenever the first decode runs.)
template <Record T>
const auto& keyNamesOf() {
    static const auto names = std::apply(
        [](const auto&... keys) {
            return std::array<std::string_view, sizeof...(keys)>{keys.key...};
        },
        jsonSchema(std::type_identity<T>{}));
    return names;
}

// Keys are short: comparing them with a few overlapping word loads beats a
// call to memcmp.
inline bool sameKey(std::string_view a, std::string_view b) {
    const std::size_t size = a.size();
    if (size != b.size()) {
        return false;
    }
    const char* p = a.data();
    const char* q = b.data();
    const auto same = [&]<class Word>(std::size_t at, Word) {
        Word x;
        Word y;
        std::memcpy(&x, p + at, sizeof x);
        std::memcpy(&y, q + at, sizeof y);
        return x == y;
    };
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 < size; at += 8) {
            if (!same(at, std::uint64_t{})) {
                return false;
            }
        }
        return same(size - 8, std::uint64_t{});
    }
    if (size >= 4) {
        return same(0, std::uint32_t{}) && same(size - 4, std::uint32_t{});
    }
    if (size >= 2) {
        return same(0, std::uint16_t{}) && same(size - 2, std::uint16_t{});
    }
    return size == 0 || *p == *q;
}

// The position of `name` among `names`, or names.size() for an unknown key.
// Objects usually list their keys in schema order, some of them left out, so
// the search starts after the previous match and wraps around.
template <std::size_t N>
std::size_t findKey(const std::array<std::string_view, N>& names, std::string_view name,
                    std::size_t hint) {
    for (std::size_t index = hint; index < N; ++index) {
        if (sameKey(names[index], name)) {
            return index;
        }
    }
    for (std::size_t index = 0; index < hint && index < N; ++index) {
        if (sameKey(names[index], name)) {
            return index;
        }
    }
    return N;
}

template <Record T>
bool decodeValue(ondemand::value& value, T& out, DecodeFailure& failure) {
    ondemand::object object;
    if (auto error = value.get_object().get(object)) {
        return wrongValue(error, value, ondemand::json_type::object, "an object", failure);
    }
    const auto& keys = schemaOf<T>;
    const auto& names = keyNamesOf<T>();
    constexpr std::size_t count = std::tuple_size_v<std::decay_t<decltype(keys)>>;
    static_assert(count <= 64, "a record has at most 64 keys");
    std::uint64_t seen = 0;
    std::size_t hint = 0;

    for (auto member : object) {
        ondemand::field field;
        std::string_view name;
        if (auto error = std::move(member).get(field)) {
            return malformedJson(error, failure);
        }
        if (auto error = field.unescaped_key().get(name)) {
            return malformedJson(error, failure);
        }
        ondemand::value& item = field.value();
        const std::size_t index = findKey(names, name, hint);
        if (index == count) {
            // Unknown keys are ignored, whatever they hold, as long as it is JSON.
            if (!skipValue(item, 0, failure)) {
                return false;
            }
            continue;
        }
        hint = index + 1;
        seen |= std::uint64_t{1} << index;
        bool ok = true;
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (void)((index == I ? (ok = decodeKey(std::get<I>(keys), item, out, failure), true)
                               : false) ||
                   ...);
        }
        (std::make_index_sequence<count>{});
        if (!ok) {
            failure.atKey(name);
            return false;
        }
    }

    if (seen == (count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1)) {
        return true;
    }
    bool ok = true;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (void)(((seen & (std::uint64_t{1} << I)) ||
                (decodeMissing(std::get<I>(keys), out, failure) ||
                 (failure.atKey(std::get<I>(keys).key), ok = false, false))) &&
               ...);
    }
    (std::make_index_sequence<count>{});
    return ok;
}

} // namespace OrvelKit::Json::detail
