// A rounded panel behind content: optionally tinted, always with a fine border.
import QtQuick
import Orvel

Rectangle {
    property bool tint: false
    radius: 12
    color: tint ? Theme.panelTint : "transparent"
    border.width: 0.5
    border.color: Theme.panelBorder
}
