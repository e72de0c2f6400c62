// A one-point highlight along the rounded edge, brightest in the middle.
import QtQuick
import Orvel

Item {
    id: edge
    property real radius: 14

    Rectangle {
        anchors.fill: parent
        anchors.margins: 0.5
        radius: edge.radius
        color: "transparent"
        border.width: 1
        border.color: Theme.edge
        opacity: 0.55
        layer.enabled: false
    }

    Rectangle {
        // The highlight fades towards both sides along the top.
        x: edge.radius
        width: parent.width - 2 * edge.radius
        y: 0.5
        height: 1
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0.0; color: "transparent" }
            GradientStop { position: 0.5; color: Theme.edge }
            GradientStop { position: 1.0; color: "transparent" }
        }
    }
}
