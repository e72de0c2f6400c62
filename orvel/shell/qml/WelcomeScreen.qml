// The intro: what Orvel is for, and the two ways in: create a first channel,
// or join this desktop to an account already in use.
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property ModelBridge bridge

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 320)
        spacing: 14

        RingMark {
            Layout.alignment: Qt.AlignHCenter
            size: 48
        }

        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Every agent's updates,\nin one quiet place")
            color: Theme.text
            font.pixelSize: 19
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
        }

        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("ChatGPT, Claude, Codex — they tell Orvel when the work is done. You read it here, once, instead of watching a terminal.")
            color: Theme.muted
            font.pixelSize: 13
            wrapMode: Text.Wrap
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 6
            spacing: 8

            GlassButton {
                objectName: "createFirstChannel"
                Layout.fillWidth: true
                fill: true
                prominent: true
                focus: true
                focusPolicy: Qt.StrongFocus
                symbol: "plus"
                text: qsTr("Create your first channel")
                onClicked: screen.bridge.open(ModelBridge.Engage)
            }

            GlassButton {
                objectName: "alreadyUseOrvel"
                Layout.fillWidth: true
                fill: true
                focusPolicy: Qt.StrongFocus
                text: qsTr("I already use Orvel")
                onClicked: screen.bridge.open(ModelBridge.Pair)
            }
        }
    }
}
