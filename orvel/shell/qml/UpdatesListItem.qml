// One item of the updates list, drawn by its kind: a flat row, a group's
// header, a row of a group, or a group's "N earlier updates" / "Show less"
// toggle. Rows and toggles are buttons; choosing one emits `activated`.
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: item
    required property int index
    required property int kind
    required property string agent
    required property string summary
    required property string age
    required property string dot
    required property bool failed
    required property string groupCount
    required property string toggleText
    required property string toggleSymbol
    property bool current: false

    signal activated()

    readonly property bool actionable: kind !== UpdatesListModel.GroupHeader
    readonly property real inset: 14

    implicitHeight: shown.y + shown.implicitHeight + 4

    Accessible.role: actionable ? Accessible.Button : Accessible.Heading
    Accessible.name: kind === UpdatesListModel.GroupToggle ? toggleText
                     : kind === UpdatesListModel.GroupHeader ? agent + " " + groupCount
                     : agent + ", " + summary + ", " + age
    Accessible.onPressAction: if (actionable) item.activated()

    Rectangle {
        anchors.fill: parent
        anchors.leftMargin: item.inset - 6
        anchors.rightMargin: item.inset - 6
        radius: 8
        visible: item.actionable && (item.current || tap.hovered)
        color: Theme.selection
    }

    HoverHandler {
        id: tap
        enabled: item.actionable
        cursorShape: Qt.PointingHandCursor
    }

    TapHandler {
        enabled: item.actionable
        onTapped: item.activated()
    }

    // One layout per kind; only the item's own is shown (and laid out).
    readonly property Item shown: kind === UpdatesListModel.FlatRow ? flatRow
                                  : kind === UpdatesListModel.GroupHeader ? groupHeader
                                  : kind === UpdatesListModel.GroupedRow ? groupedRow
                                  : groupToggle

    FlatUpdateRow {
        id: flatRow
        visible: item.shown === flatRow
        x: item.inset
        y: 4
        width: item.width - 2 * item.inset
        dot: item.dot
        agent: item.agent
        summary: item.summary
        age: item.age
        failed: item.failed
    }

    RowLayout {
        id: groupHeader
        visible: item.shown === groupHeader
        x: item.inset
        y: 10
        width: item.width - 2 * item.inset
        spacing: 6
        Text {
            text: item.agent
            color: Theme.text
            font.pixelSize: 14
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
        Text {
            visible: item.groupCount.length > 0
            text: item.groupCount
            color: Theme.muted
            font.pixelSize: 11
        }
    }

    GroupedUpdateRow {
        id: groupedRow
        visible: item.shown === groupedRow
        x: item.inset
        y: 4
        width: item.width - 2 * item.inset
        dot: item.dot
        summary: item.summary
        age: item.age
    }

    RowLayout {
        id: groupToggle
        visible: item.shown === groupToggle
        x: item.inset
        y: 4
        width: item.width - 2 * item.inset
        spacing: 5
        SymbolImage {
            symbol: item.toggleSymbol
            size: 8
            tint: Theme.muted
        }
        Text {
            text: item.toggleText
            color: Theme.muted
            font.pixelSize: 12
            font.weight: Font.Medium
            Layout.fillWidth: true
        }
    }
}
