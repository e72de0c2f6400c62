// Shown when nothing needs a decision.
import QtQuick
import QtQuick.Layouts
import Orvel

GlassPanel {
    id: card
    property string text
    radius: 12
    tint: true
    implicitHeight: content.implicitHeight + 24
    Accessible.role: Accessible.StaticText
    Accessible.name: card.text

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 12
        spacing: 9
        SymbolImage {
            symbol: "checkmark.circle.fill"
            size: 16
            tint: Theme.green
        }
        Text {
            objectName: "allClearText"
            Layout.fillWidth: true
            text: card.text
            color: Theme.text
            font.pixelSize: 13
            wrapMode: Text.Wrap
        }
    }
}
