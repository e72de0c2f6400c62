// What the activity pane shows instead of content: a symbol over one line.
import QtQuick
import QtQuick.Layouts
import Orvel

ColumnLayout {
    id: empty
    property string text
    property string symbol
    spacing: 10

    SymbolImage {
        symbol: empty.symbol
        size: 30
        tint: Theme.faint
        Layout.alignment: Qt.AlignHCenter
    }

    Text {
        text: empty.text
        color: Theme.muted
        font.pixelSize: 14
        font.weight: Font.Medium
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: 360
    }
}
