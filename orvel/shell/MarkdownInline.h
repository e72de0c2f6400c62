#pragma once

// The inline half of the Markdown renderer (see MarkdownPresentation.h):
// emphasis, code spans, links and images within one block's text, and the
// small text helpers the block half shares.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace Orvel::MarkdownInline {

inline constexpr auto npos = std::string_view::npos;

// Link reference definitions by normalised label.
using Definitions = std::map<std::string, std::string, std::less<>>;

// One block's text as safe rich text.
std::string render(std::string_view text, const Definitions& definitions);

// Appends `c` to rich text: &, <, > and " as entities, NUL as U+FFFD.
void appendEscaped(std::string& out, char c);
bool isSpace(char c);
bool isDigit(char c);
bool isAlpha(char c);
bool isAlnum(char c);
bool isPunct(char c);
char lower(char c);
std::string trim(std::string_view text);
// Labels match case-insensitively with runs of white space collapsed.
std::string normalizeLabel(std::string_view label);
// A link destination at `at`: "<...>" or a run without spaces and with
// balanced parentheses. The address and the position after it.
std::optional<std::pair<std::string, std::size_t>> parseDestination(std::string_view text,
                                                                    std::size_t at);
// Skips an optional title ("...", '...' or (...)); nothing when one is open.
std::optional<std::size_t> skipTitle(std::string_view text, std::size_t at);
std::size_t skipSpaces(std::string_view text, std::size_t at);
// Removes backslash escapes from a link address.
std::string unescapeDestination(std::string_view text);

} // namespace Orvel::MarkdownInline
