// The full history: every update, newest first, narrowed by a filter, flat or
// grouped by source. The intro and the filters stay above the list, which
// creates delegates only for the items in view; arrow keys walk it, Enter
// opens a row or toggles a group.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property UpdatesListModel updates

    ColumnLayout {
        anchors.fill: parent
        spacing: 10

        Text {
            text: qsTr("Every update, newest first. The smart inbox keeps this history out of your way.")
            color: Theme.muted
            font.pixelSize: 13
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Layout.topMargin: 14
            Layout.leftMargin: 14
            Layout.rightMargin: 14
        }

        SectionLabel {
            text: qsTr("All activity")
            trailing: String(screen.updates.updateCount)
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.rightMargin: 14
        }

        Flickable {
            Layout.fillWidth: true
            implicitHeight: filters.implicitHeight
            contentWidth: filters.implicitWidth + 28
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            Row {
                id: filters
                x: 14
                spacing: 6
                Repeater {
                    model: screen.updates.filterTitles
                    delegate: UpdateFilterButton {
                        required property int index
                        required property string modelData
                        text: modelData
                        selected: screen.updates.filter === index
                        onClicked: screen.updates.filter = index
                    }
                }
            }
        }

        Text {
            visible: screen.updates.ready && screen.updates.updateCount === 0
            text: screen.updates.emptyText
            color: Theme.faint
            font.pixelSize: 13
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            Layout.fillWidth: true
            Layout.minimumHeight: 90
        }

        ListView {
            id: list
            objectName: "updatesList"
            visible: screen.updates.updateCount > 0
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: screen.updates
            clip: true
            focus: true
            // Nothing is marked until the arrow keys move.
            currentIndex: -1
            reuseItems: true
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds
            bottomMargin: 14
            Accessible.role: Accessible.List
            Accessible.name: qsTr("All activity")
            ScrollBar.vertical: ScrollBar {}

            Keys.onReturnPressed: screen.updates.activate(list.currentIndex)
            Keys.onEnterPressed: screen.updates.activate(list.currentIndex)

            delegate: UpdatesListItem {
                width: list.width
                current: ListView.isCurrentItem && list.activeFocus
                onActivated: screen.updates.activate(index)
            }

            // Expanding or collapsing a group eases in and out over 0.18 s.
            add: Transition {
                NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 180; easing.type: Easing.InOutQuad }
            }
            remove: Transition {
                NumberAnimation { property: "opacity"; to: 0; duration: 180; easing.type: Easing.InOutQuad }
            }
            displaced: Transition {
                NumberAnimation { property: "y"; duration: 180; easing.type: Easing.InOutQuad }
            }
        }

        Item {
            visible: !list.visible
            Layout.fillHeight: true
        }
    }
}
