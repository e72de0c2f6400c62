#pragma once

// Unpredictable text for tokens, identifiers and pairing codes, drawn from the
// operating system's random source.

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace OrvelDev {

class RandomText {
public:
    // Lower-case letters and digits: identifiers and tokens.
    static constexpr std::string_view alphanumeric = "abcdefghijklmnopqrstuvwxyz0123456789";
    // Upper-case letters and digits without look-alikes (0/O, 1/I/L): pairing codes.
    static constexpr std::string_view unambiguous = "ABCDEFGHJKMNPQRSTUVWXYZ23456789";

    std::string operator()(std::size_t length, std::string_view alphabet = alphanumeric);

private:
    std::random_device device_;
};

} // namespace OrvelDev
