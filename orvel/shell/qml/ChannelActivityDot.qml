// A channel's activity (pending, active, quiet, idle) as a small filled dot,
// named for screen readers.
import QtQuick
import Orvel

Item {
    id: dot
    property string activity: "pending"

    implicitWidth: 7
    implicitHeight: 7
    Accessible.role: Accessible.Indicator
    Accessible.name: Theme.activityLabel(dot.activity)

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: Theme.colors[Theme.activityColorName(dot.activity)]
    }
}
