// The activity window's sidebar: Needs you, Cards and one entry per activity
// day (newest first), then the channels with "All channels" first; the
// chosen destination and channel are marked. The arrow keys walk the entries,
// Enter or Space chooses one.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Flickable {
    id: sidebar
    required property ExpandedActivityModel activity

    contentWidth: width
    contentHeight: column.implicitHeight + 24
    boundsBehavior: Flickable.StopAtBounds
    clip: true
    ScrollBar.vertical: ScrollBar {}

    // One entry: a symbol or activity dot, the label, a trailing count or
    // checkmark, and the selection colour while chosen.
    component Entry: RowButton {
        id: entry
        property string symbol
        // A channel's activity and its accessible name.
        property string activity
        property string activityLabel
        property string label
        property int count: -1
        property bool selected: false
        property bool checkmark: false

        implicitHeight: 30
        Layout.fillWidth: true
        Accessible.name: entry.label
        Accessible.checkable: true
        Accessible.checked: entry.selected

        background: Rectangle {
            radius: 7
            color: entry.selected || entry.hovered || entry.visualFocus || entry.activeFocus
                   ? Theme.selection : "transparent"
            border.width: entry.visualFocus ? 1.5 : 0
            border.color: Theme.blue
        }

        contentItem: RowLayout {
            spacing: 8

            SymbolImage {
                visible: entry.symbol.length > 0
                symbol: entry.symbol
                size: 14
                tint: Theme.muted
                Layout.leftMargin: 8
            }

            // The channel's activity dot.
            Rectangle {
                visible: entry.symbol.length === 0
                implicitWidth: 7
                implicitHeight: 7
                radius: 3.5
                color: Theme.activityColor(entry.activity)
                Accessible.role: Accessible.Indicator
                Accessible.name: entry.activityLabel
                Layout.leftMargin: 11
                Layout.rightMargin: 3
            }

            Text {
                text: entry.label
                color: Theme.text
                font.pixelSize: 13
                font.weight: entry.selected ? Font.Medium : Font.Normal
                elide: Text.ElideRight
                Layout.fillWidth: true
            }

            Text {
                visible: entry.count >= 0
                text: entry.count
                color: Theme.faint
                font.pixelSize: 11
                Layout.rightMargin: 8
            }

            SymbolImage {
                visible: entry.checkmark
                symbol: "checkmark"
                size: 12
                tint: Theme.blue
                Layout.rightMargin: 8
            }
        }
    }

    ColumnLayout {
        id: column
        x: 10
        y: 12
        width: sidebar.width - 20
        spacing: 2

        Entry {
            objectName: "attentionEntry"
            symbol: "exclamationmark.circle"
            label: qsTr("Needs you")
            count: sidebar.activity.attentionCount
            selected: sidebar.activity.destination === ExpandedActivityModel.Attention
            onClicked: sidebar.activity.selectAttention()
        }

        Entry {
            objectName: "cardsEntry"
            symbol: "rectangle.grid.2x2"
            label: qsTr("Cards")
            count: sidebar.activity.cardCount
            selected: sidebar.activity.destination === ExpandedActivityModel.Cards
            onClicked: sidebar.activity.selectCards()
        }

        Repeater {
            model: sidebar.activity.days
            delegate: Entry {
                required property int index
                required label
                required symbol
                required count
                required selected
                objectName: "dayEntry" + index
                onClicked: sidebar.activity.selectDay(index)
            }
        }

        SectionLabel {
            text: qsTr("Channels")
            Layout.fillWidth: true
            Layout.topMargin: 14
            Layout.bottomMargin: 4
            Layout.leftMargin: 8
        }

        Repeater {
            model: sidebar.activity.channels
            delegate: Entry {
                required property string key
                required property string activityName
                required label
                required symbol
                required activity
                required selected
                objectName: "channelEntry:" + key
                activityLabel: activityName
                checkmark: selected
                onClicked: sidebar.activity.selectChannel(key)
            }
        }
    }
}
