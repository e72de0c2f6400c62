// One persistent card on the activity window's dashboard: title, pin mark,
// its values in the metric or labelled-value layout, and when it was
// updated; choosing it opens the card's sheet.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

AbstractButton {
    id: card
    required property string cardId
    required property string title
    required property bool pinned
    required property bool metric
    required property string primaryDisplay
    required property string primaryLabel
    required property var fields
    required property string footer

    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: card.title
    Keys.onReturnPressed: card.clicked()
    Keys.onEnterPressed: card.clicked()

    padding: 14

    background: GlassPanel {
        radius: 11
        tint: true
        border.width: card.visualFocus ? 1.5 : 0.5
        border.color: card.visualFocus ? Theme.blue : Theme.panelBorder
        opacity: card.pressed ? 0.65 : 1
    }

    contentItem: ColumnLayout {
        spacing: 10

        RowLayout {
            spacing: 6
            Layout.fillWidth: true

            Text {
                text: card.title
                color: Theme.text
                font.pixelSize: 14
                font.weight: Font.DemiBold
                elide: Text.ElideRight
                Layout.fillWidth: true
            }

            SymbolImage {
                visible: card.pinned
                symbol: "pin.fill"
                size: 12
                tint: Theme.muted
                Accessible.role: Accessible.StaticText
                Accessible.name: qsTr("Pinned")
            }
        }

        CardFields {
            metric: card.metric
            primaryDisplay: card.primaryDisplay
            primaryLabel: card.primaryLabel
            fields: card.fields
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 6
            Layout.fillWidth: true

            Text {
                text: card.footer
                color: Theme.faint
                font.pixelSize: 11
                Layout.fillWidth: true
            }

            SymbolImage {
                symbol: "chevron.right"
                size: 11
                tint: Theme.faint
            }
        }
    }
}
