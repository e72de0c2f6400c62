// Every channel, searchable by id or name. Idle channels stay hidden unless
// shown with the button below the list or found by a search. The arrow keys
// walk from the search field into the list.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property ChannelsScreenModel channels

    // Each visit starts with an empty search and idle channels hidden.
    Component.onCompleted: screen.channels.clear()

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: 14
        spacing: 10

        Text {
            objectName: "channelCount"
            text: qsTr("%1 channels").arg(screen.channels.shownCount)
            color: Theme.text
            font.pixelSize: 14
            font.weight: Font.DemiBold
            Layout.leftMargin: 14
            Layout.rightMargin: 14
        }

        TextField {
            id: search
            objectName: "channelSearch"
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.rightMargin: 14
            focus: true
            placeholderText: qsTr("Search channels")
            placeholderTextColor: Theme.faint
            color: Theme.text
            font.pixelSize: 13
            leftPadding: 30
            Accessible.name: qsTr("Search channels")
            onTextEdited: screen.channels.query = search.text
            Keys.onDownPressed: {
                if (list.count > 0) {
                    list.currentIndex = 0
                    list.forceActiveFocus()
                }
            }

            SymbolImage {
                anchors.left: parent.left
                anchors.leftMargin: 9
                anchors.verticalCenter: parent.verticalCenter
                symbol: "magnifyingglass"
                size: 13
                tint: Theme.muted
            }

            background: Rectangle {
                implicitHeight: 30
                radius: 9
                color: Theme.control
                border.width: search.activeFocus ? 1.5 : 0.5
                border.color: search.activeFocus ? Theme.blue : Theme.controlBorder
            }
        }

        ListView {
            id: list
            objectName: "channelList"
            visible: list.count > 0
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: screen.channels
            clip: true
            currentIndex: -1
            keyNavigationEnabled: true
            boundsBehavior: Flickable.StopAtBounds
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Channels")
            ScrollBar.vertical: ScrollBar {}
            Keys.onUpPressed: event => {
                if (list.currentIndex <= 0)
                    search.forceActiveFocus()
                else
                    event.accepted = false
            }

            delegate: Item {
                id: row
                required property int index
                required property string channel
                required property string name
                required property string detail
                required property string activity
                readonly property bool current: ListView.isCurrentItem && list.activeFocus

                width: list.width
                implicitHeight: 48
                Accessible.role: Accessible.ListItem
                Accessible.name: row.name + ", " + row.detail

                Rectangle {
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    anchors.rightMargin: 6
                    radius: 9
                    color: row.current ? Theme.selection : "transparent"
                }

                Rectangle {
                    visible: row.index > 0
                    anchors.top: parent.top
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.leftMargin: 14
                    anchors.rightMargin: 14
                    height: 0.5
                    color: Theme.separator
                }

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 14
                    anchors.rightMargin: 14
                    spacing: 10

                    ChannelActivityDot {
                        activity: row.activity
                    }

                    ColumnLayout {
                        spacing: 2
                        Layout.fillWidth: true

                        Text {
                            text: row.name
                            color: Theme.text
                            font.pixelSize: 13
                            font.weight: Font.Medium
                            elide: Text.ElideRight
                            Layout.fillWidth: true
                        }
                        Text {
                            text: row.detail
                            color: Theme.muted
                            font.pixelSize: 11
                            elide: Text.ElideRight
                            Layout.fillWidth: true
                        }
                    }
                }
            }
        }

        ColumnLayout {
            objectName: "channelsEmpty"
            visible: list.count === 0
            spacing: 8
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.leftMargin: 18
            Layout.rightMargin: 18

            Item { Layout.fillHeight: true }
            SymbolImage {
                Layout.alignment: Qt.AlignHCenter
                symbol: "dot.radiowaves.left.and.right"
                size: 22
                tint: Theme.faint
            }
            Text {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: screen.channels.searching ? qsTr("No matching channels") : qsTr("No channels yet")
                color: Theme.text
                font.pixelSize: 15
                font.weight: Font.DemiBold
            }
            Text {
                visible: !screen.channels.searching
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("Create a channel to see it here.")
                color: Theme.muted
                font.pixelSize: 13
                wrapMode: Text.Wrap
            }
            Item { Layout.fillHeight: true }
        }

        GlassButton {
            objectName: "idleToggle"
            visible: screen.channels.offersIdleToggle
            Layout.alignment: Qt.AlignHCenter
            Layout.bottomMargin: 12
            focusPolicy: Qt.StrongFocus
            text: screen.channels.showsIdle ? qsTr("Hide idle channels")
                                            : qsTr("Show %1 idle channels").arg(screen.channels.idleCount)
            onClicked: screen.channels.showsIdle = !screen.channels.showsIdle
        }
    }
}
