// A text button in the glass style; `fill` gives it a rounded background,
// `prominent` a stronger one and a heavier label; `symbol` puts a symbol
// before the text. The text is its accessible name.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: button
    property bool prominent: false
    property bool fill: false
    property string symbol

    horizontalPadding: 10
    verticalPadding: 5
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    opacity: pressed ? 0.65 : 1
    Accessible.name: text

    contentItem: Row {
        spacing: 6

        SymbolImage {
            visible: button.symbol.length > 0
            anchors.verticalCenter: parent.verticalCenter
            symbol: button.symbol
            size: 13
            tint: Theme.text
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            color: Theme.text
            font.pixelSize: 13
            font.weight: button.prominent ? Font.Medium : Font.Normal
        }
    }

    background: Rectangle {
        visible: button.fill || button.visualFocus
        radius: 9
        color: button.fill ? (button.prominent ? Theme.controlStrong : Theme.control) : "transparent"
        border.width: button.visualFocus ? 1.5 : 0.5
        border.color: button.visualFocus ? Theme.blue : Theme.controlBorder
    }
}
