#include "orvel/core/XdgLaunchAtLogin.h"

#include "orvel/core/AppIdentity.h"
#include "orvelkit/store/AtomicFile.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace Orvel {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A key as desktop entries allow it: letters, digits and "-", optionally
// followed by a locale in brackets.
bool isKey(std::string_view key) {
    const auto bracket = key.find('[');
    const std::string_view name = key.substr(0, bracket);
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        const bool allowed =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed) {
            return false;
        }
    }
    return bracket == std::string_view::npos ||
           (key.size() > bracket + 2 && key.back() == ']' &&
            key.find_first_of("[]", bracket + 1) == key.size() - 1);
}

struct EntryState {
    bool parsed = false;
    bool hidden = false;
    bool autostartDisabled = false;
};

EntryState readEntry(std::string_view text) {
    EntryState state;
    bool inDesktopEntry = false;
    bool sawGroup = false;
    bool sawDesktopEntry = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        if (content.front() == '[') {
            if (content.back() != ']') {
                return {};
            }
            sawGroup = true;
            inDesktopEntry = content == "[Desktop Entry]";
            sawDesktopEntry = sawDesktopEntry || inDesktopEntry;
            continue;
        }
        const auto equals = content.find('=');
        if (!sawGroup || equals == std::string_view::npos ||
            !isKey(trimmed(content.substr(0, equals)))) {
            return {};
        }
        if (!inDesktopEntry) {
            continue;
        }
        const std::string_view key = trimmed(content.substr(0, equals));
        const std::string_view value = trimmed(content.substr(equals + 1));
        if (key == "Hidden" && value == "true") {
            state.hidden = true;
        } else if (key == "X-GNOME-Autostart-enabled" && value == "false") {
            state.autostartDisabled = true;
        }
    }
    state.parsed = sawDesktopEntry;
    return state;
}

} // namespace

XdgLaunchAtLogin::XdgLaunchAtLogin(std::filesystem::path configHome, std::string executable)
    : entryFile_(configHome.empty() ? std::filesystem::path{}
                                    : configHome / "autostart" / entryName),
      executable_(std::move(executable)) {}

XdgLaunchAtLogin XdgLaunchAtLogin::forCurrentProcess() {
    std::string executable;
    if (const char* appImage = std::getenv("APPIMAGE"); appImage && appImage[0] == '/') {
        // The process runs from a temporary mount of the image, which is
        // gone after the next login: start the image itself.
        executable = appImage;
    } else {
        std::error_code error;
        const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) {
            executable = path.string();
        }
    }
    return XdgLaunchAtLogin(configHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                            std::move(executable));
}

std::filesystem::path XdgLaunchAtLogin::configHome(const char* xdgConfigHome, const char* home) {
    // Relative values are invalid by the XDG rules and ignored.
    if (xdgConfigHome && xdgConfigHome[0] == '/') {
        return xdgConfigHome;
    }
    if (home && home[0] == '/') {
        return std::filesystem::path(home) / ".config";
    }
    return {};
}

bool XdgLaunchAtLogin::isEnabled() const {
    if (executable_.empty() || entryFile_.empty()) {
        return false;
    }
    auto contents = OrvelKit::readWholeFile(entryFile_);
    if (!contents) {
        return false;
    }
    const EntryState state = readEntry(contents->view());
    return state.parsed && !state.hidden && !state.autostartDisabled;
}

bool XdgLaunchAtLogin::setEnabled(bool enabled) {
    if (executable_.empty() || entryFile_.empty()) {
        return false;
    }
    if (enabled) {
        if (OrvelKit::createPrivateDirectories(entryFile_.parent_path())) {
            (void)OrvelKit::writeFileAtomically(entryFile_, desktopEntry(executable_));
        }
    } else {
        std::error_code ignored;
        std::filesystem::remove(entryFile_, ignored);
    }
    return isEnabled();
}

std::string XdgLaunchAtLogin::desktopEntry(const std::string& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Orvel\n"
           "Icon=" +
           std::string(AppIdentity::id) +
           "\n"
           "Exec=" +
           quotedExecArgument(executable) +
           "\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string XdgLaunchAtLogin::quotedExecArgument(const std::string& argument) {
    // Inside the quotes, '"', '`', '$' and '\' take a backslash.
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    // The value is read as a string first, which unescapes these.
    std::string value;
    for (char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        case '%':
            value += "%%";
            break;
        default:
            value += c;
        }
    }
    return value;
}

} // namespace Orvel
