// A switch in the glass style: the label, then a capsule track with a knob.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: toggle
    checkable: true
    implicitWidth: 220
    implicitHeight: 26

    contentItem: Item {
        Text {
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            text: toggle.text
            color: Theme.text
            font.pixelSize: 13
        }

        Rectangle {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: 38
            height: 22
            radius: 11
            color: toggle.checked ? Theme.green : Theme.control
            border.width: 0.5
            border.color: Theme.controlBorder
            Behavior on color { ColorAnimation { duration: 150 } }

            Rectangle {
                width: 18
                height: 18
                radius: 9
                y: 2
                x: toggle.checked ? parent.width - width - 2 : 2
                color: "white"
                border.width: 0.5
                border.color: Qt.rgba(0, 0, 0, 0.25)
                Behavior on x { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }
            }
        }
    }
}
