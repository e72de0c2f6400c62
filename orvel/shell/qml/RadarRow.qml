// A source still at work or with news: dot, who, what and when.
import QtQuick
import QtQuick.Layouts
import Orvel

RowButton {
    id: row
    required property string rowId
    required property string agent
    required property string summary
    required property string age
    required property string dot
    required property string statusLabel

    Layout.fillWidth: true
    Accessible.name: row.statusLabel + ", " + row.agent + ", " + row.summary
    padding: 8

    contentItem: RowLayout {
        spacing: 9
        StatusDotView {
            dot: row.dot
            size: 7
            Accessible.role: Accessible.Indicator
            Accessible.name: row.statusLabel
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            Text {
                Layout.fillWidth: true
                text: row.agent
                color: Theme.text
                font.pixelSize: 12
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                text: row.summary
                color: Theme.muted
                font.pixelSize: 12
                elide: Text.ElideRight
            }
        }
        Text {
            text: row.age
            color: Theme.faint
            font.pixelSize: 11
        }
    }
}
