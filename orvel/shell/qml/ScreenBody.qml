// The current destination's screen, with its view model. The inbox stays
// made (it keeps its place while another screen shows); other screens are
// loaded when shown. Destinations without a screen yet show a placeholder
// that names them.
import QtQuick
import Orvel

Item {
    id: body
    required property ModelBridge bridge
    required property InboxScreenModel inboxScreen
    required property UpdatesListModel updates
    required property DetailScreenModel detail
    required property PersistentCardScreenModel card
    required property ChannelsScreenModel channels
    required property EngageScreenModel engage
    required property PairScreenModel pair
    required property SettingsScreenModel settings

    readonly property bool onInbox: body.bridge.currentScreen === ModelBridge.Inbox

    InboxScreen {
        anchors.fill: parent
        visible: body.onInbox
        bridge: body.bridge
        screen: body.inboxScreen
    }

    // The destination shown. A screen with its own view model stays while
    // the destination keeps its kind (its model follows the id); a
    // placeholder is made again with the new name.
    property int shownScreen: -1

    function show() {
        const screen = body.bridge.currentScreen
        const followsModel = screen === ModelBridge.Updates || screen === ModelBridge.Detail
            || screen === ModelBridge.Card
        if (screen === body.shownScreen && followsModel)
            return
        body.shownScreen = screen
        switch (screen) {
        case ModelBridge.Inbox:
            loader.source = ""
            break
        case ModelBridge.Updates:
            loader.setSource("UpdatesScreen.qml", {updates: body.updates})
            break
        case ModelBridge.Detail:
            loader.setSource("DetailScreen.qml", {detail: body.detail})
            break
        case ModelBridge.Card:
            loader.setSource("PersistentCardScreen.qml", {card: body.card})
            break
        case ModelBridge.Channels:
            loader.setSource("ChannelsScreen.qml", {channels: body.channels})
            break
        case ModelBridge.Welcome:
            loader.setSource("WelcomeScreen.qml", {bridge: body.bridge})
            break
        case ModelBridge.Engage:
            loader.setSource("EngageScreen.qml", {engage: body.engage})
            break
        case ModelBridge.Pair:
            loader.setSource("PairScreen.qml", {pair: body.pair})
            break
        case ModelBridge.Settings:
            loader.setSource("SettingsScreen.qml", {bridge: body.bridge, settings: body.settings})
            break
        default:
            loader.setSource("PlaceholderScreen.qml",
                             {name: body.bridge.currentScreenName, detail: body.bridge.currentId})
        }
    }

    Component.onCompleted: show()

    Connections {
        target: body.bridge
        function onNavigationChanged() { body.show() }
    }

    Loader {
        id: loader
        anchors.fill: parent
        visible: !body.onInbox
        focus: !body.onInbox
    }
}
