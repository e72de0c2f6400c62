#pragma once

// Update bodies and details are written by agents, so their Markdown is
// untrusted. `render` parses it with md4c (CommonMark, raw HTML off) and turns
// it into rich text in a small, fixed subset of HTML that the views display
// as it is:
//
// - headings, paragraphs, emphasis (bold, italic, strike-through), code spans,
//   code blocks, block quotes, bulleted and numbered lists, rules and line
//   breaks render;
// - every character of the author's text is escaped, so raw HTML shows as text;
// - images never load: an image shows its alternative text;
// - a link stays a link only when its address is http or https; any other
//   link (another scheme, a relative or empty address) shows its text only,
//   and a link inside another link is text;
// - a bare "http://" or "https://" address in running text is a link when it
//   passes `isWebLink`; a control character (DEL included) ends it.
//
// Pure C++ with no toolkit behind it, so it can be fuzzed on its own. Work is
// linear in the input: only the first `maximumMarkdownLength` bytes are read
// as Markdown (cut at a line end where there is one), the rest shows as plain
// text; lists, quotes and emphasis nested deeper than `maximumNesting` lose
// their own tags but keep their text; link addresses longer than
// `maximumLinkLength` are not links.

#include <cstddef>
#include <string>
#include <string_view>

namespace Orvel::MarkdownPresentation {

inline constexpr std::size_t maximumLinkLength = 2048;
inline constexpr int maximumNesting = 16;
inline constexpr std::size_t maximumMarkdownLength = 256 * 1024;

// The Markdown `text` as safe rich text.
std::string render(std::string_view text);

// Whether `url` may be opened: its scheme, compared without regard to case,
// is "http" or "https", and it holds no whitespace or control character.
bool isWebLink(std::string_view url);

// `text` with &, <, > and " replaced by their entities, NUL by U+FFFD.
std::string escapeHtml(std::string_view text);

} // namespace Orvel::MarkdownPresentation
