#include "orvel/shell/Symbols.h"

#include <array>

namespace Orvel::Symbols {

namespace {

using Entry = std::pair<std::string_view, std::string_view>;

constexpr std::array entries{
    Entry{"arrow.clockwise", "view-refresh-symbolic"},
    Entry{"arrow.right", "go-next-symbolic"},
    Entry{"arrow.triangle.2.circlepath", "emblem-synchronizing-symbolic"},
    Entry{"arrow.up.left.and.arrow.down.right", "view-fullscreen-symbolic"},
    Entry{"arrow.up.forward.app", "send-to-symbolic"},
    Entry{"arrow.up.right.square", "send-to-symbolic"},
    Entry{"bell", "preferences-system-notifications-symbolic"},
    Entry{"bolt", "weather-storm-symbolic"},
    Entry{"calendar", "x-office-calendar-symbolic"},
    // Adwaita has no calendar with a badge; the empty state's text says it.
    Entry{"calendar.badge.exclamationmark", "x-office-calendar-symbolic"},
    Entry{"checkmark", "object-select-symbolic"},
    Entry{"checkmark.circle", "emblem-ok-symbolic"},
    Entry{"checkmark.circle.fill", "emblem-ok-symbolic"},
    Entry{"chevron.backward", "go-previous-symbolic"},
    Entry{"chevron.down", "pan-down-symbolic"},
    Entry{"chevron.forward", "go-next-symbolic"},
    Entry{"chevron.right", "pan-end-symbolic"},
    Entry{"chevron.up", "pan-up-symbolic"},
    Entry{"circle.dotted", "content-loading-symbolic"},
    Entry{"clock", "document-open-recent-symbolic"},
    Entry{"doc.on.doc", "edit-copy-symbolic"},
    Entry{"dot.radiowaves.left.and.right", "network-wireless-symbolic"},
    Entry{"ellipsis", "view-more-horizontal-symbolic"},
    Entry{"exclamationmark.circle", "emblem-important-symbolic"},
    Entry{"exclamationmark.triangle", "dialog-warning-symbolic"},
    Entry{"gearshape", "emblem-system-symbolic"},
    Entry{"hammer", "applications-engineering-symbolic"},
    Entry{"key", "dialog-password-symbolic"},
    Entry{"link", "insert-link-symbolic"},
    Entry{"magnifyingglass", "system-search-symbolic"},
    Entry{"moon", "weather-clear-night-symbolic"},
    Entry{"pencil", "document-edit-symbolic"},
    Entry{"pin", "view-pin-symbolic"},
    Entry{"pin.fill", "view-pin-symbolic"},
    // Adwaita has no crossed-out pin; the button's text tells the two apart.
    Entry{"pin.slash", "view-pin-symbolic"},
    Entry{"plus", "list-add-symbolic"},
    Entry{"power", "system-shutdown-symbolic"},
    Entry{"qrcode", "phone-symbolic"},
    Entry{"rectangle.grid.2x2", "view-grid-symbolic"},
    Entry{"sparkles", "starred-symbolic"},
    Entry{"sun.max", "weather-clear-symbolic"},
    Entry{"sunrise", "daytime-sunrise-symbolic"},
    Entry{"sunset", "daytime-sunset-symbolic"},
    Entry{"trash", "user-trash-symbolic"},
    Entry{"tray", "folder-symbolic"},
    Entry{"tray.full", "folder-documents-symbolic"},
    Entry{"xmark", "window-close-symbolic"},
};

} // namespace

std::optional<std::string_view> adwaitaIcon(std::string_view symbol) {
    for (const auto& [name, icon] : entries) {
        if (name == symbol) {
            return icon;
        }
    }
    return std::nullopt;
}

std::span<const std::pair<std::string_view, std::string_view>> table() {
    return entries;
}

} // namespace Orvel::Symbols
