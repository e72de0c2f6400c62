#include "orvel/shell/ThemePalette.h"

namespace Orvel::ThemePalette {

namespace {

constexpr Rgba hex(unsigned value, double alpha = 1) {
    return Rgba{((value >> 16) & 0xff) / 255.0, ((value >> 8) & 0xff) / 255.0,
                (value & 0xff) / 255.0, alpha};
}

constexpr Rgba white(double level, double alpha) {
    return Rgba{level, level, level, alpha};
}

struct Pair {
    Rgba light;
    Rgba dark;
};

Pair pair(ThemeColor color) {
    switch (color) {
    case ThemeColor::text:
        return {hex(0x1C1C1E), hex(0xF4F4F6)};
    case ThemeColor::muted:
        return {hex(0x3C3C43, 0.62), hex(0xEBECF2, 0.58)};
    case ThemeColor::faint:
        return {hex(0x3C3C43, 0.36), hex(0xEBECF2, 0.34)};
    case ThemeColor::separator:
        return {white(0, 0.08), white(1, 0.09)};
    case ThemeColor::gold:
        return {hex(0xC79A32), hex(0xE0BC63)};
    case ThemeColor::green:
        return {hex(0x2E9E5B), hex(0x5CC08A)};
    case ThemeColor::red:
        return {hex(0xD0524A), hex(0xEA8079)};
    case ThemeColor::blue:
        return {hex(0x3B7DD8), hex(0x6FA6EE)};
    case ThemeColor::panelTint:
        return {hex(0xF9FAFD, 0.36), hex(0x202025, 0.28)};
    case ThemeColor::panelBorder:
        return {white(1, 0.62), white(1, 0.14)};
    case ThemeColor::edge:
        return {white(1, 0.78), white(1, 0.28)};
    case ThemeColor::control:
        return {white(1, 0.34), white(1, 0.07)};
    case ThemeColor::controlStrong:
        return {white(1, 0.46), white(1, 0.12)};
    case ThemeColor::controlBorder:
        return {white(1, 0.66), white(1, 0.16)};
    case ThemeColor::selection:
        return {white(1, 0.42), white(1, 0.09)};
    }
    return {};
}

} // namespace

Rgba color(ThemeColor color, Appearance appearance) {
    const auto values = pair(color);
    return appearance == Appearance::dark ? values.dark : values.light;
}

std::string_view name(ThemeColor color) {
    switch (color) {
    case ThemeColor::text:
        return "text";
    case ThemeColor::muted:
        return "muted";
    case ThemeColor::faint:
        return "faint";
    case ThemeColor::separator:
        return "separator";
    case ThemeColor::gold:
        return "gold";
    case ThemeColor::green:
        return "green";
    case ThemeColor::red:
        return "red";
    case ThemeColor::blue:
        return "blue";
    case ThemeColor::panelTint:
        return "panelTint";
    case ThemeColor::panelBorder:
        return "panelBorder";
    case ThemeColor::edge:
        return "edge";
    case ThemeColor::control:
        return "control";
    case ThemeColor::controlStrong:
        return "controlStrong";
    case ThemeColor::controlBorder:
        return "controlBorder";
    case ThemeColor::selection:
        return "selection";
    }
    return "";
}

std::array<ThemeColor, colorCount> allColors() {
    return {ThemeColor::text,          ThemeColor::muted,         ThemeColor::faint,
            ThemeColor::separator,     ThemeColor::gold,          ThemeColor::green,
            ThemeColor::red,           ThemeColor::blue,          ThemeColor::panelTint,
            ThemeColor::panelBorder,   ThemeColor::edge,          ThemeColor::control,
            ThemeColor::controlStrong, ThemeColor::controlBorder, ThemeColor::selection};
}

ThemeColor statusColor(OrvelKit::StatusDot dot) {
    switch (dot) {
    case OrvelKit::StatusDot::need:
    case OrvelKit::StatusDot::running:
        return ThemeColor::gold;
    case OrvelKit::StatusDot::done:
        return ThemeColor::green;
    case OrvelKit::StatusDot::failed:
        return ThemeColor::red;
    case OrvelKit::StatusDot::info:
        return ThemeColor::blue;
    case OrvelKit::StatusDot::idle:
        return ThemeColor::faint;
    }
    return ThemeColor::blue;
}

ActivityStyle activityStyle(OrvelKit::ChannelActivity activity) {
    switch (activity) {
    case OrvelKit::ChannelActivity::pending:
        return {ThemeColor::gold, "Pending"};
    case OrvelKit::ChannelActivity::active:
        return {ThemeColor::green, "Active"};
    case OrvelKit::ChannelActivity::quiet:
        return {ThemeColor::blue, "Quiet"};
    case OrvelKit::ChannelActivity::idle:
        return {ThemeColor::faint, "Idle"};
    }
    return {ThemeColor::faint, "Idle"};
}

Appearance appearanceFor(double windowLightness, double textLightness) {
    return windowLightness < textLightness ? Appearance::dark : Appearance::light;
}

} // namespace Orvel::ThemePalette
