// A rounded panel behind content: optionally tinted, always with a fine border.
import QtQuick

Rectangle {
    property bool tint: false
    radius: 12
    color: tint ? theme.panelTint : "transparent"
    border.width: 0.5
    border.color: theme.panelBorder
}
