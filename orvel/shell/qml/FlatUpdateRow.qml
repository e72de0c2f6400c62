// One update of the flat updates list: status dot, agent, summary and age;
// a failed update carries a red "failed" tag under its summary.
import QtQuick
import QtQuick.Layouts
import Orvel

RowLayout {
    id: row
    property string dot: "info"
    property string agent
    property string summary
    property string age
    property bool failed: false

    spacing: 10

    StatusDotView {
        dot: row.dot
        Accessible.role: Accessible.Indicator
        Accessible.name: row.dot
        Layout.alignment: Qt.AlignTop
        Layout.topMargin: 5
    }

    ColumnLayout {
        spacing: 0
        Layout.fillWidth: true

        Text {
            text: row.agent
            color: Theme.muted
            font.pixelSize: 12
            font.weight: Font.Medium
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Text {
            text: row.summary
            color: Theme.text
            font.pixelSize: 13
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Text {
            visible: row.failed
            text: qsTr("failed")
            color: Theme.red
            font.pixelSize: 11
            font.weight: Font.Medium
            Layout.topMargin: 3
        }
    }

    Text {
        text: row.age
        color: Theme.faint
        font.pixelSize: 11
        Layout.alignment: Qt.AlignTop
        Layout.topMargin: 2
    }
}
