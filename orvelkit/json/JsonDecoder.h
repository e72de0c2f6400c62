#pragma once

// The decoding half of the schema codec, over JsonReader: the records are
// filled while the text is read, token by token, without a document tree or
// an index of the text. Include this only from .cpp files that instantiate
// decoders; everyone else uses Json.h.
//
// Values under keys a record does not list are walked and checked (syntax,
// escapes, nesting depth) but never interpreted, which lets them hold numbers
// no 64-bit type can (2^64, 1e400); a text with a fault anywhere, or anything
// after its one value, still fails as a whole.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/json/JsonError.h"
#include "orvelkit/json/JsonReader.h"
#include "orvelkit/json/Schema.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace OrvelKit::Json::detail {

using Kind = JsonReader::Kind;

// Collects the failure and, while unwinding, the key path that led to it.
// Nothing is allocated on the success path. A text that is not JSON at all
// fails without a path.
class DecodeFailure {
public:
    void fail(std::string message) { message_ = std::move(message); }
    void malformed(std::string_view problem) {
        malformed_ = true;
        reversedPath_.clear();
        message_ = concat({"malformed JSON: ", problem});
    }
    bool isMalformed() const { return malformed_; }
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

// The reader found the text broken.
inline bool broken(const JsonReader& in, DecodeFailure& failure) {
    failure.malformed(in.problem());
    return false;
}

// Values under unlisted keys nest at most this deep. The records themselves
// nest a few levels, so the walk's recursion stays bounded.
inline constexpr std::size_t maxUnlistedNesting = 256;
// A whole text nests at most this deep (checked only when a text that fails
// to decode is walked again to tell broken JSON from a mismatch).
inline constexpr std::size_t maxNesting = 1024;

inline std::string_view typeName(Kind kind) {
    switch (kind) {
    case Kind::array:
        return "an array";
    case Kind::object:
        return "an object";
    case Kind::number:
        return "a number";
    case Kind::string:
        return "a string";
    case Kind::boolean:
        return "a boolean";
    case Kind::null:
        return "null";
    }
    return "an unknown value";
}

// The next value is of the `wanted` kind; otherwise the failure names what it is.
inline bool expect(JsonReader& in, Kind wanted, std::string_view expected, DecodeFailure& failure) {
    Kind found{};
    if (!in.peek(found)) {
        return broken(in, failure);
    }
    if (found != wanted) {
        failure.fail(concat({"expected ", expected, ", found ", typeName(found)}));
        return false;
    }
    return true;
}

// Checks a value nobody reads: its syntax, its strings' escapes and its
// depth, without converting numbers.
inline bool skipValue(JsonReader& in, std::size_t depth, std::size_t limit,
                      DecodeFailure& failure) {
    Kind kind{};
    if (!in.peek(kind)) {
        return broken(in, failure);
    }
    bool ok = true;
    switch (kind) {
    case Kind::array:
    case Kind::object: {
        if (depth >= limit) {
            failure.malformed("values nest too deep");
            return false;
        }
        const bool object = kind == Kind::object;
        bool empty = false;
        ok = object ? in.beginObject(empty) : in.beginArray(empty);
        for (bool more = ok && !empty; more;) {
            if (object) {
                std::string_view key;
                if (!in.key(key)) {
                    return broken(in, failure);
                }
            }
            if (!skipValue(in, depth + 1, limit, failure)) {
                return false;
            }
            ok = object ? in.nextMember(more) : in.nextElement(more);
            if (!ok) {
                break;
            }
        }
        break;
    }
    case Kind::number: {
        std::string_view token;
        ok = in.number(token);
        break;
    }
    case Kind::string: {
        std::string_view text;
        ok = in.string(text);
        break;
    }
    case Kind::boolean: {
        bool flag = false;
        ok = in.boolean(flag);
        break;
    }
    case Kind::null:
        ok = in.null();
        break;
    }
    return ok || broken(in, failure);
}

// A string's text: where it lies in the input when it has no escapes,
// otherwise unescaped into the reader's buffer (valid until the next read).
inline bool decodeText(JsonReader& in, std::string_view& text, DecodeFailure& failure) {
    if (!expect(in, Kind::string, "a string", failure)) {
        return false;
    }
    return in.string(text) || broken(in, failure);
}

inline bool decodeValue(JsonReader& in, std::string& out, DecodeFailure& failure) {
    std::string_view text;
    if (!decodeText(in, text, failure)) {
        return false;
    }
    out = std::string(text); // cheaper than assign() into the empty string
    return true;
}

inline bool decodeValue(JsonReader& in, bool& out, DecodeFailure& failure) {
    if (!expect(in, Kind::boolean, "a boolean", failure)) {
        return false;
    }
    return in.boolean(out) || broken(in, failure);
}

// Unsigned integers are exact: negatives, fractions, exponent forms and
// numbers beyond `max` fail, named as they were written.
inline bool decodeUnsigned(JsonReader& in, std::uint64_t max, std::string_view what,
                           std::uint64_t& out, DecodeFailure& failure) {
    std::string_view token;
    if (!expect(in, Kind::number, what, failure)) {
        return false;
    }
    if (!in.number(token)) {
        return broken(in, failure);
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

inline bool decodeValue(JsonReader& in, std::uint64_t& out, DecodeFailure& failure) {
    return decodeUnsigned(in, UINT64_MAX, "an unsigned 64-bit integer", out, failure);
}

inline bool decodeValue(JsonReader& in, std::uint8_t& out, DecodeFailure& failure) {
    std::uint64_t wide = 0;
    if (!decodeUnsigned(in, UINT8_MAX, "an integer from 0 to 255", wide, failure)) {
        return false;
    }
    out = static_cast<std::uint8_t>(wide);
    return true;
}

template <Enumeration E>
bool decodeValue(JsonReader& in, E& out, DecodeFailure& failure) {
    std::string_view name;
    if (!decodeText(in, name, failure)) {
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
bool decodeValue(JsonReader& in, T& out, DecodeFailure& failure);

// Long lists are allocated at their length, so no slack stays behind in
// long-lived records and no regrowth doubles their peak: the first elements
// go straight in (a short list grows as usual), and a list longer than that
// counts the rest of its elements ahead once. The count is trusted only while the elements it
// promises take at most a few times the bytes of their text; a text of many
// tiny elements (`[{},{},...]`) must not reserve memory out of all proportion
// to it, and grows the list as its elements are decoded instead.
inline constexpr std::size_t uncountedElements = 16;
inline constexpr std::size_t trustedBytesPerTextByte = 4;

template <class T>
bool decodeValue(JsonReader& in, std::vector<T>& out, DecodeFailure& failure) {
    if (!expect(in, Kind::array, "an array", failure)) {
        return false;
    }
    bool empty = false;
    in.beginArray(empty);
    out.clear();
    std::size_t index = 0;
    for (bool more = !empty; more; ++index) {
        if (index == uncountedElements) {
            const JsonReader::Ahead ahead = in.countAhead();
            if (ahead.elements * sizeof(T) <= trustedBytesPerTextByte * ahead.bytes + 4096) {
                out.reserve(index + ahead.elements);
            }
        }
        if (!decodeValue(in, out.emplace_back(), failure)) {
            failure.atIndex(index);
            return false;
        }
        if (!in.nextElement(more)) {
            return broken(in, failure);
        }
    }
    return true;
}

// null (read), or not null (left for the value's decoder).
inline std::optional<bool> isNull(JsonReader& in, DecodeFailure& failure) {
    Kind kind{};
    if (!in.peek(kind)) {
        broken(in, failure);
        return std::nullopt;
    }
    if (kind != Kind::null) {
        return false;
    }
    if (!in.null()) {
        broken(in, failure);
        return std::nullopt;
    }
    return true;
}

// One key of a record: decode a present value under its presence rule.
template <class R, class M>
bool decodeKey(const RequiredKey<R, M>& key, JsonReader& in, R& out, DecodeFailure& failure) {
    const std::optional<bool> null = isNull(in, failure);
    if (!null) {
        return false;
    }
    if (*null) {
        failure.fail("required value is null");
        return false;
    }
    return decodeValue(in, out.*key.member, failure);
}

template <class R, class M>
bool decodeKey(const OptionalKey<R, M>& key, JsonReader& in, R& out, DecodeFailure& failure) {
    const std::optional<bool> null = isNull(in, failure);
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
        if (!decodeText(in, text, failure)) {
            return false;
        }
        (out.*key.member).emplace(text);
        return true;
    } else {
        return decodeValue(in, (out.*key.member).emplace(), failure);
    }
}

template <class R, class M>
bool decodeKey(const DefaultedKey<R, M>& key, JsonReader& in, R& out, DecodeFailure& failure) {
    const std::optional<bool> null = isNull(in, failure);
    if (!null) {
        return false;
    }
    if (*null) {
        out.*key.member = key.fallback;
        return true;
    }
    return decodeValue(in, out.*key.member, failure);
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
bool decodeValue(JsonReader& in, T& out, DecodeFailure& failure) {
    if (!expect(in, Kind::object, "an object", failure)) {
        return false;
    }
    const auto& keys = schemaOf<T>;
    const auto& names = keyNamesOf<T>();
    constexpr std::size_t count = std::tuple_size_v<std::decay_t<decltype(keys)>>;
    static_assert(count <= 64, "a record has at most 64 keys");
    std::uint64_t seen = 0;
    std::size_t hint = 0;

    bool empty = false;
    in.beginObject(empty);
    for (bool more = !empty; more;) {
        // The key's text is gone once the value is read (it may have been
        // unescaped into the reader's buffer): the path names the schema's key.
        std::string_view name;
        if (!in.key(name)) {
            return broken(in, failure);
        }
        const std::size_t index = findKey(names, name, hint);
        if (index == count) {
            // Unknown keys are ignored, whatever they hold, as long as it is JSON.
            if (!skipValue(in, 0, maxUnlistedNesting, failure)) {
                return false;
            }
        } else {
            hint = index + 1;
            seen |= std::uint64_t{1} << index;
            bool ok = true;
            [&]<std::size_t... I>(std::index_sequence<I...>) {
                (void)((index == I ? (ok = decodeKey(std::get<I>(keys), in, out, failure), true)
                                   : false) ||
                       ...);
            }
            (std::make_index_sequence<count>{});
            if (!ok) {
                failure.atKey(names[index]);
                return false;
            }
        }
        if (!in.nextMember(more)) {
            return broken(in, failure);
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
