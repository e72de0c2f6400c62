// The expanded activity window's content: the sidebar of destinations and
// channels, the toolbar (title, subtitle, search, "Mark all read") and the
// content pane, with the update and card sheets over them. Tab moves between
// sidebar, search and pane; the arrow keys walk each.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: root
    implicitWidth: 1060
    implicitHeight: 720
    required property ExpandedActivityModel activity

    // The keyboard starts in the content.
    Component.onCompleted: pane.takeFocus()

    VisualEffect {
        anchors.fill: parent
        material: "sidebar"
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        ActivitySidebar {
            id: sidebar
            activity: root.activity
            Layout.preferredWidth: 240
            Layout.fillHeight: true
        }

        Rectangle {
            implicitWidth: 1
            color: Theme.separator
            Layout.fillHeight: true
        }

        ColumnLayout {
            spacing: 0
            Layout.fillWidth: true
            Layout.fillHeight: true

            // The toolbar.
            RowLayout {
                spacing: 12
                Layout.fillWidth: true
                Layout.margins: 16

                ColumnLayout {
                    spacing: 2
                    Layout.fillWidth: true

                    Text {
                        objectName: "title"
                        text: root.activity.title
                        color: Theme.text
                        font.pixelSize: 15
                        font.weight: Font.DemiBold
                    }

                    Text {
                        objectName: "subtitle"
                        text: root.activity.subtitle
                        color: Theme.muted
                        font.pixelSize: 11
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }
                }

                TextField {
                    id: search
                    objectName: "search"
                    text: root.activity.query
                    placeholderText: qsTr("Search activity")
                    placeholderTextColor: Theme.faint
                    color: Theme.text
                    font.pixelSize: 13
                    leftPadding: 28
                    Layout.preferredWidth: 260
                    Accessible.name: qsTr("Search activity")
                    onTextEdited: root.activity.setQuery(search.text)
                    Keys.onDownPressed: pane.takeFocus()

                    background: Rectangle {
                        radius: 8
                        color: Theme.control
                        border.width: search.activeFocus ? 1.5 : 0.5
                        border.color: search.activeFocus ? Theme.blue : Theme.controlBorder

                        SymbolImage {
                            anchors.left: parent.left
                            anchors.leftMargin: 8
                            anchors.verticalCenter: parent.verticalCenter
                            symbol: "magnifyingglass"
                            size: 13
                            tint: Theme.muted
                        }
                    }
                }

                GlassButton {
                    objectName: "markAllRead"
                    fill: true
                    focusPolicy: Qt.StrongFocus
                    symbol: "checkmark"
                    text: qsTr("Mark all read")
                    onClicked: root.activity.markAllRead()
                }
            }

            Rectangle {
                implicitHeight: 1
                color: Theme.separator
                Layout.fillWidth: true
            }

            ActivityPane {
                id: pane
                activity: root.activity
                Layout.fillWidth: true
                Layout.fillHeight: true
            }
        }
    }

    ExpandedUpdateDetail {
        activity: root.activity
    }

    ExpandedCardDetail {
        activity: root.activity
    }
}
