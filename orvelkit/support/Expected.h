#pragma once

// A value or an error, for results that cross library boundaries.
// Modelled on C++23 std::expected, which our compiler does not offer in C++20.

#include <cassert>
#include <type_traits>
#include <utility>
#include <variant>

namespace OrvelKit {

template <class E>
class Unexpected {
public:
    explicit Unexpected(E error) : error_(std::move(error)) {}
    const E& error() const& { return error_; }
    E&& error() && { return std::move(error_); }

private:
    E error_;
};

template <class E>
Unexpected<std::decay_t<E>> unexpected(E&& error) {
    return Unexpected<std::decay_t<E>>(std::forward<E>(error));
}

template <class T, class E>
class [[nodiscard]] Expected {
public:
    using value_type = T;
    using error_type = E;

    Expected() requires std::is_default_constructible_v<T> : storage_(std::in_place_index<0>) {}
    Expected(T value) : storage_(std::in_place_index<0>, std::move(value)) {}
    template <class G>
    requires std::is_constructible_v<E, G> Expected(Unexpected<G> error)
        : storage_(std::in_place_index<1>, std::move(error).error()) {}

    bool hasValue() const { return storage_.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    T& value() & { return assertValue(), std::get<0>(storage_); }
    const T& value() const& { return assertValue(), std::get<0>(storage_); }
    T&& value() && { return assertValue(), std::get<0>(std::move(storage_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const E& error() const& { return assertError(), std::get<1>(storage_); }
    E&& error() && { return assertError(), std::get<1>(std::move(storage_)); }

    bool operator==(const Expected&) const = default;

private:
    void assertValue() const { assert(hasValue()); }
    void assertError() const { assert(!hasValue()); }

    std::variant<T, E> storage_;
};

template <class E>
class [[nodiscard]] Expected<void, E> {
public:
    using value_type = void;
    using error_type = E;

    Expected() = default;
    template <class G>
    requires std::is_constructible_v<E, G> Expected(Unexpected<G> error)
        : error_(std::move(error).error()), failed_(true) {}

    bool hasValue() const { return !failed_; }
    explicit operator bool() const { return hasValue(); }
    void value() const { assert(hasValue()); }
    const E& error() const& { return assert(failed_), error_; }
    E&& error() && { return assert(failed_), std::move(error_); }

    bool operator==(const Expected&) const = default;

private:
    E error_{};
    bool failed_ = false;
};

} // namespace OrvelKit
