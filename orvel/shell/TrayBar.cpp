#include "orvel/shell/TrayBar.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace Orvel::TrayBar {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool isDark(std::string_view currentDesktop, Appearance paletteAppearance) {
    constexpr std::array<std::string_view, 5> alwaysDark = {"GNOME", "Budgie", "X-Cinnamon",
                                                            "Pantheon", "Unity"};
    while (!currentDesktop.empty()) {
        const auto end = currentDesktop.find(':');
        const auto name = currentDesktop.substr(0, end);
        if (std::any_of(alwaysDark.begin(), alwaysDark.end(),
                        [&](std::string_view dark) { return equalIgnoringCase(name, dark); })) {
            return true;
        }
        currentDesktop =
            end == std::string_view::npos ? std::string_view{} : currentDesktop.substr(end + 1);
    }
    return paletteAppearance == Appearance::dark;
}

} // namespace Orvel::TrayBar
