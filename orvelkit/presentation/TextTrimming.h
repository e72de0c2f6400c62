#pragma once

// Trimming UTF-8 text at both ends by Unicode character classes.

#include <string_view>

namespace OrvelKit {

// Without leading and trailing horizontal white space: the tab and the space
// separators (U+0020, U+00A0, U+1680, U+2000...U+200A, U+202F, U+205F, U+3000).
std::string_view trimmingHorizontalWhitespace(std::string_view text);

// Without leading and trailing white space and line breaks: the horizontal
// white space above, U+000A...U+000D, U+0085, U+2028 and U+2029.
std::string_view trimmingWhitespaceAndNewlines(std::string_view text);

} // namespace OrvelKit
