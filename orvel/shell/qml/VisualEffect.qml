// The window material behind the panel. Without a compositor blur here, an
// almost opaque fill of the appearance's window colour stands in for it.
import QtQuick
import Orvel

Rectangle {
    property string material: "popover"
    property string blending: "behindWindow"
    color: Theme.windowMaterial
}
