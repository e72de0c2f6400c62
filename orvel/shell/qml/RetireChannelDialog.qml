// Retires a channel: its keys stop working; the destructive button is red.
import QtQuick
import QtQuick.Layouts
import Orvel

ChannelDialog {
    id: dialog
    signal retireChosen()

    explanation: qsTr("Its keys will stop working immediately. History is retained as a soft delete.")
    initialFocus: cancel

    RowLayout {
        spacing: 8
        Layout.fillWidth: true
        Layout.topMargin: 4

        Item { Layout.fillWidth: true }

        GlassButton {
            id: cancel
            text: qsTr("Cancel")
            fill: true
            onClicked: dialog.cancelled()
        }

        GlassButton {
            objectName: "retireButton"
            text: qsTr("Retire channel")
            fill: true
            destructive: true
            onClicked: dialog.retireChosen()
        }
    }
}
