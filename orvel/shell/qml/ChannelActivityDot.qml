// A channel's activity as a dot in a 7 × 7 frame.
import QtQuick
import Orvel

Rectangle {
    property string activity: "idle"
    width: 7
    height: 7
    radius: 3.5
    color: Theme.colors[Theme.activityColorName(activity)]
    Accessible.name: Theme.activityLabel(activity)
}
