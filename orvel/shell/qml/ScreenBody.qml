// The current destination's screen. Every destination is a placeholder that
// names itself until its screen arrives.
import QtQuick
import Orvel

Item {
    id: body
    required property ModelBridge bridge

    PlaceholderScreen {
        anchors.fill: parent
        name: body.bridge.currentScreenName
        detail: body.bridge.currentId
    }
}
