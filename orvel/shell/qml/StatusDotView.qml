// The dot of an update's status; need and running pulse.
import QtQuick
import Orvel

Item {
    id: view
    Accessible.role: Accessible.Indicator
    Accessible.name: view.dot
    property string dot: "info"
    property real size: 8
    readonly property bool pulses: dot === "need" || dot === "running"
    property bool pulsing: false
    readonly property bool animating: pulses && pulsing && !Theme.reduceMotion

    implicitWidth: size
    implicitHeight: size
    Component.onCompleted: pulsing = true

    Rectangle {
        id: circle
        anchors.centerIn: parent
        width: view.size
        height: view.size
        radius: view.size / 2
        color: Theme.colors[Theme.statusColorName(view.dot)]

        // A pulse that stops leaves the dot at rest, not where it was.
        SequentialAnimation on scale {
            running: view.animating
            loops: Animation.Infinite
            onRunningChanged: if (!running) circle.scale = 1
            NumberAnimation { from: 1; to: 1.35; duration: 1700; easing.type: Easing.InOutQuad }
            NumberAnimation { from: 1.35; to: 1; duration: 1700; easing.type: Easing.InOutQuad }
        }
        SequentialAnimation on opacity {
            running: view.animating
            loops: Animation.Infinite
            onRunningChanged: if (!running) circle.opacity = 1
            NumberAnimation { from: 1; to: 0.55; duration: 1700; easing.type: Easing.InOutQuad }
            NumberAnimation { from: 0.55; to: 1; duration: 1700; easing.type: Easing.InOutQuad }
        }
    }
}
