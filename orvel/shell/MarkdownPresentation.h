#pragma once

// Update bodies and details are written by agents, so their Markdown is
// untrusted. `render` turns it into rich text in a small, fixed subset of
// HTML that the views display as it is:
//
// - headings, paragraphs, emphasis (bold, italic, strike-through), code spans,
//   code blocks, block quotes, bulleted and numbered lists, rules and line
//   breaks render;
// - every character of the author's text is escaped, so raw HTML shows as text;
// - images never load: an image shows its alternative text;
// - a link stays a link only when its address is http or https; any other
//   link (another scheme, a relative or empty address) shows its text only.
//
// Pure C++ with no toolkit behind it, so it can be fuzzed on its own. Work is
// bounded for any input: nesting beyond a fixed depth renders as text, and
// link addresses longer than `maximumLinkLength` are not links.

#include <cstddef>
#include <string>
#include <string_view>

namespace Orvel::MarkdownPresentation {

inline constexpr std::size_t maximumLinkLength = 2048;
inline constexpr int maximumNesting = 16;

// The Markdown `text` as safe rich text.
std::string render(std::string_view text);

// Whether `url` may be opened: its scheme, compared without regard to case,
// is "http" or "https", and it holds no whitespace or control character.
bool isWebLink(std::string_view url);

// `text` with &, <, > and " replaced by their entities.
std::string escapeHtml(std::string_view text);

} // namespace Orvel::MarkdownPresentation
