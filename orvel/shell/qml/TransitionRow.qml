// A source whose status changed: who, what, when, and from → to.
import QtQuick
import QtQuick.Layouts
import Orvel

RowButton {
    id: row
    required property string rowId
    required property string agent
    required property string summary
    required property string age
    required property string fromLabel
    required property string toDot
    required property string toLabel

    Layout.fillWidth: true
    Accessible.name: row.agent + ", " + row.fromLabel + " to " + row.toLabel + ", " + row.summary
    padding: 8

    contentItem: ColumnLayout {
        spacing: 3

        RowLayout {
            spacing: 6
            Text {
                Layout.fillWidth: true
                text: row.agent
                color: Theme.text
                font.pixelSize: 12
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Text {
                text: row.age
                color: Theme.faint
                font.pixelSize: 11
            }
        }

        RowLayout {
            spacing: 5
            Text {
                text: row.fromLabel
                color: Theme.muted
                font.pixelSize: 11
                font.weight: Font.Medium
            }
            SymbolImage {
                symbol: "arrow.right"
                size: 9
                tint: Theme.faint
            }
            Text {
                text: row.toLabel
                color: Theme.colors[Theme.statusColorName(row.toDot)]
                font.pixelSize: 11
                font.weight: Font.Medium
            }
        }

        Text {
            Layout.fillWidth: true
            text: row.summary
            color: Theme.muted
            font.pixelSize: 12
            elide: Text.ElideRight
        }
    }
}
