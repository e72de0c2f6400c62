#include "orvel/core/FileProblems.h"

namespace Orvel::FileProblems {

using OrvelKit::StoreDiagnostic;

std::string unreadable(const std::filesystem::path& file, std::string_view reason) {
    std::string text = "Couldn't read " + file.string() + " (";
    text += reason;
    text += "). Nothing is saved over it until it can be read.";
    return text;
}

std::string noDataDirectory(const OrvelKit::FileError& error) {
    return "Couldn't prepare the data directory " + error.path.string() + " (" +
           error.code.message() + "). Nothing is kept after Orvel quits.";
}

std::optional<std::string> describe(const StoreDiagnostic& diagnostic) {
    switch (diagnostic.event) {
    case StoreDiagnostic::Event::readFailed:
        return unreadable(diagnostic.file, diagnostic.message);
    case StoreDiagnostic::Event::preserved:
        return "A damaged file was moved aside to " + diagnostic.file.string() +
               "; Orvel started afresh without it.";
    case StoreDiagnostic::Event::preserveFailed:
        return "Couldn't use " + diagnostic.file.string() + " nor move it aside (" +
               diagnostic.message + "). Nothing is saved over it.";
    case StoreDiagnostic::Event::writeFailed:
        return "Couldn't save: " + diagnostic.message;
    case StoreDiagnostic::Event::decodeFailed:
    case StoreDiagnostic::Event::encodeFailed:
    case StoreDiagnostic::Event::restrictFailed:
        break;
    }
    return std::nullopt;
}

} // namespace Orvel::FileProblems
