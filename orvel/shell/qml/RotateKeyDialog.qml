// Rotates a channel's publish key, at once or keeping the previous key for
// 24 hours; the new key is shown once afterwards.
import QtQuick
import QtQuick.Layouts
import Orvel

ChannelDialog {
    id: dialog
    signal rotateChosen(int graceHours)

    explanation: qsTr("Orvel will show the replacement key once so you can give it to the agent.")
    initialFocus: immediately

    GlassButton {
        id: immediately
        objectName: "rotateImmediately"
        text: qsTr("Rotate immediately")
        fill: true
        prominent: true
        Layout.fillWidth: true
        onClicked: dialog.rotateChosen(0)
    }

    GlassButton {
        objectName: "rotateWithGrace"
        text: qsTr("Keep previous key for 24 hours")
        fill: true
        Layout.fillWidth: true
        onClicked: dialog.rotateChosen(24)
    }

    GlassButton {
        text: qsTr("Cancel")
        Layout.fillWidth: true
        onClicked: dialog.cancelled()
    }
}
