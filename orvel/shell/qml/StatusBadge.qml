// A short text on a tinted capsule of its colour.
import QtQuick

Rectangle {
    id: badge
    property string text
    property color color: theme.blue

    implicitWidth: label.implicitWidth + 14
    implicitHeight: label.implicitHeight + 3
    radius: height / 2
    color: Qt.rgba(badge.color.r, badge.color.g, badge.color.b, 0.15)
    border.width: 0.5
    border.color: Qt.rgba(badge.color.r, badge.color.g, badge.color.b, 0.3)

    Text {
        id: label
        anchors.centerIn: parent
        text: badge.text
        color: badge.color
        font.pixelSize: 11
        font.weight: Font.Medium
    }
}
