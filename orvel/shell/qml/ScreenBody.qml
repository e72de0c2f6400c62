// The current destination's screen; destinations without a screen yet show a
// placeholder that names them.
import QtQuick
import Orvel

Item {
    id: body
    required property ModelBridge bridge
    required property InboxScreenModel inboxScreen

    InboxScreen {
        anchors.fill: parent
        visible: body.bridge.currentScreen === ModelBridge.Inbox
        bridge: body.bridge
        screen: body.inboxScreen
    }

    PlaceholderScreen {
        anchors.fill: parent
        visible: body.bridge.currentScreen !== ModelBridge.Inbox
        name: body.bridge.currentScreenName
        detail: body.bridge.currentId
    }
}
