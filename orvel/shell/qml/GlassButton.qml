// A text button in the glass style; `fill` gives it a rounded background,
// `prominent` a stronger one and a heavier label.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: button
    property bool prominent: false
    property bool fill: false

    implicitWidth: implicitContentWidth + 20
    implicitHeight: implicitContentHeight + 10
    opacity: pressed ? 0.65 : 1

    contentItem: Text {
        text: button.text
        color: Theme.text
        font.pixelSize: 13
        font.weight: button.prominent ? Font.Medium : Font.Normal
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        visible: button.fill
        radius: 9
        color: button.prominent ? Theme.controlStrong : Theme.control
        border.width: 0.5
        border.color: Theme.controlBorder
    }
}
