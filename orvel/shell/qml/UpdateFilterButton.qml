// One filter of the updates screen: a capsule with a fine outline; the
// selected one is heavier and filled with the selection colour.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: button
    property bool selected: false

    implicitWidth: implicitContentWidth + 20
    implicitHeight: implicitContentHeight + 8
    opacity: pressed ? 0.65 : 1
    Accessible.name: text
    checked: selected

    contentItem: Text {
        text: button.text
        color: Theme.text
        font.pixelSize: 12
        font.weight: button.selected ? Font.DemiBold : Font.Normal
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        radius: height / 2
        color: button.selected ? Theme.selection : "transparent"
        border.width: button.visualFocus ? 1.5 : 0.5
        border.color: button.visualFocus ? Theme.blue : Theme.controlBorder
    }
}
