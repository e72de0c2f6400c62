#include "tools/devserver/RandomText.h"

namespace OrvelDev {

std::string RandomText::operator()(std::size_t length, std::string_view alphabet) {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        text += alphabet[pick(device_)];
    }
    return text;
}

} // namespace OrvelDev
