#pragma once

// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer saves the input that made it fail), and a view of the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace OrvelFuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace OrvelFuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::OrvelFuzz::fail(#condition, __FILE__, __LINE__);                                     \
        }                                                                                          \
    } while (false)
