#pragma once

// An update's Markdown as plain text, for places that show no rich text
// (desktop notifications): the text the panel shows, without its styling.
// Emphasis, code and link syntax go and leave their text, images leave their
// alternative text; headings, paragraphs, code lines and list items each
// start a line, list items with "• " or their number.
//
// It reads the safe rich text of MarkdownPresentation::render, so the panel
// and the plain text always agree on what an update says.

#include <string>
#include <string_view>

namespace Orvel::MarkdownPlainText {

std::string render(std::string_view markdown);

} // namespace Orvel::MarkdownPlainText
