// A plain button showing a symbol in a 24 × 24 hit area; `label` is its
// accessible name and tooltip.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: button
    property string system
    property string label
    property real size: 15

    implicitWidth: 24
    implicitHeight: 24
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.name: label
    ToolTip.visible: hovered && label.length > 0
    ToolTip.text: label
    ToolTip.delay: 600

    contentItem: Item {
        SymbolImage {
            anchors.centerIn: parent
            symbol: button.system
            size: button.size
            tint: Theme.muted
        }
    }

    background: Rectangle {
        radius: 6
        color: button.hovered ? Theme.control : "transparent"
        opacity: button.pressed ? 0.65 : 1
        border.width: button.visualFocus ? 1.5 : 0
        border.color: Theme.blue
    }
}
