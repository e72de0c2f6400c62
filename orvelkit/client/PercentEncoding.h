#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit {

// Which characters stay as they are.
//   path:  ASCII letters and digits and  @ ! $ & ' ( ) * + , - . / : = _ ~
//   query: the path set plus  ; ?
enum class URLCharacters { path, query };

// Every other byte is written as %XX (upper-case hex) of its UTF-8 encoding.
// Nothing when `text` is not valid UTF-8.
std::optional<std::string> percentEncode(std::string_view text, URLCharacters kept);

} // namespace OrvelKit
