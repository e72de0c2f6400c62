#pragma once

// Manual pages (roff, section 1) written from the texts the programs print
// for --help, so the two cannot tell different stories.

#include <string>
#include <string_view>

namespace Orvel::Cli {

// `help` as a --help text is laid out: a block of "usage:" lines, paragraphs,
// and option lists ("  --name VALUE   what it does", later lines indented
// further), blocks separated by blank lines.
std::string manPageFromHelp(std::string_view program, std::string_view summary,
                            std::string_view help);

// orvelctl's page, from its command table.
std::string orvelctlManPage();

} // namespace Orvel::Cli
