// One update in the activity window: status badge, agent, summary and age,
// and a chevron; choosing it opens the update's sheet. The list's current row
// (moved with the arrow keys) shows the selection colour.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

AbstractButton {
    id: row
    required property int index
    required property string rowId
    required property string agent
    required property string summary
    required property string age
    required property string dot
    required property string badge
    required property string group
    required property bool groupStart
    property bool current: false
    // Whether the group's first row carries the group's heading.
    property bool showsGroups: false
    readonly property bool headed: row.showsGroups && row.groupStart

    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    implicitHeight: 52 + row.topPadding
    topPadding: row.headed ? 32 : 0
    Accessible.role: Accessible.Button
    Accessible.name: row.agent + ", " + row.badge + ": " + row.summary

    // Above the row, outside its selection.
    SectionLabel {
        id: heading
        visible: row.headed
        y: 12
        width: row.width
        text: row.group === "needsYou" ? qsTr("Needs your attention") : qsTr("Background activity")
    }

    background: Rectangle {
        y: row.topPadding
        height: row.height - row.topPadding
        radius: 9
        color: row.hovered || row.current ? Theme.selection : "transparent"
        opacity: row.pressed ? 0.65 : 1
    }

    contentItem: RowLayout {
        spacing: 10

        StatusBadge {
            text: row.badge
            tone: Theme.colors[Theme.statusColorName(row.dot)]
            Layout.preferredWidth: 78
            Layout.maximumWidth: 78
        }

        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true

            Text {
                text: row.agent
                color: Theme.text
                font.pixelSize: 13
                font.weight: Font.DemiBold
                elide: Text.ElideRight
                Layout.fillWidth: true
            }

            Text {
                text: row.summary
                color: Theme.muted
                font.pixelSize: 12
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
        }

        Text {
            text: row.age
            color: Theme.faint
            font.pixelSize: 11
        }

        SymbolImage {
            symbol: "chevron.right"
            size: 11
            tint: Theme.faint
        }
    }
}
