// A new channel: created as the screen opens, then its instructions to paste
// to an agent, with a button that copies them. A failed creation offers to
// try again (the banner on the inbox says why).
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property EngageScreenModel engage

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.implicitHeight + 32
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            x: 16
            y: 16
            width: flick.width - 32
            spacing: 14

            Text {
                Layout.fillWidth: true
                text: qsTr("A channel is created as soon as this screen opens. Paste its instructions to any agent that should send updates here.")
                color: Theme.muted
                font.pixelSize: 13
                wrapMode: Text.Wrap
            }

            RowLayout {
                objectName: "creating"
                visible: screen.engage.state === EngageScreenModel.Creating
                spacing: 8

                BusyIndicator {
                    implicitWidth: 18
                    implicitHeight: 18
                    running: parent.visible
                }
                Text {
                    text: qsTr("Creating channel key…")
                    color: Theme.muted
                    font.pixelSize: 13
                }
            }

            GlassButton {
                objectName: "tryAgain"
                visible: screen.engage.state === EngageScreenModel.Failed
                fill: true
                prominent: true
                focusPolicy: Qt.StrongFocus
                symbol: "arrow.clockwise"
                text: qsTr("Try again")
                onClicked: screen.engage.retry()
            }

            Text {
                objectName: "engageError"
                visible: screen.engage.errorText.length > 0
                Layout.fillWidth: true
                text: screen.engage.errorText
                color: Theme.red
                font.pixelSize: 12
                wrapMode: Text.Wrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }

            GlassPanel {
                objectName: "instructionsPanel"
                visible: screen.engage.state === EngageScreenModel.Ready
                tint: true
                Layout.fillWidth: true
                implicitHeight: panelColumn.implicitHeight + 24

                ColumnLayout {
                    id: panelColumn
                    x: 12
                    y: 12
                    width: parent.width - 24
                    spacing: 10

                    SectionLabel {
                        text: qsTr("PASTE THESE INSTRUCTIONS")
                        Layout.fillWidth: true
                    }

                    TextEdit {
                        objectName: "instructions"
                        Layout.fillWidth: true
                        text: screen.engage.instructions
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.Wrap
                        color: Theme.text
                        selectionColor: Theme.blue
                        font.pixelSize: 13
                        Accessible.role: Accessible.StaticText
                        Accessible.name: qsTr("Channel instructions")
                    }

                    GlassButton {
                        objectName: "copyInstructions"
                        fill: true
                        focus: true
                        focusPolicy: Qt.StrongFocus
                        symbol: "doc.on.doc"
                        text: qsTr("Copy")
                        Accessible.name: qsTr("Copy instructions")
                        onClicked: screen.engage.copyInstructions()
                    }
                }
            }

            Text {
                visible: screen.engage.state === EngageScreenModel.Ready
                Layout.fillWidth: true
                text: qsTr("It will stay pending until its first update arrives.")
                color: Theme.faint
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
        }
    }
}
