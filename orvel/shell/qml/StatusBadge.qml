// A short text on a tinted capsule of its colour.
import QtQuick
import Orvel

Rectangle {
    id: badge
    property string text
    property color tone: Theme.blue

    implicitWidth: label.implicitWidth + 14
    implicitHeight: label.implicitHeight + 3
    radius: height / 2
    color: Qt.rgba(tone.r, tone.g, tone.b, 0.15)
    border.width: 0.5
    border.color: Qt.rgba(tone.r, tone.g, tone.b, 0.3)

    Text {
        id: label
        anchors.centerIn: parent
        text: badge.text
        color: badge.tone
        font.pixelSize: 11
        font.weight: Font.Medium
    }
}
