// The panel's content: the window material, the header and the current screen,
// with the specular edge on top.
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: root
    implicitWidth: 420
    implicitHeight: 640

    required property ModelBridge bridge
    required property InboxScreenModel inboxScreen
    required property UpdatesListModel updates
    required property DetailScreenModel detail
    required property PersistentCardScreenModel card
    required property ChannelsScreenModel channels
    required property EngageScreenModel engage
    required property PairScreenModel pair
    required property SettingsScreenModel settings

    VisualEffect {
        anchors.fill: parent
        radius: 14
    }

    Rectangle {
        anchors.fill: parent
        radius: 14
        color: Theme.panelTint
        border.width: 0.5
        border.color: Theme.panelBorder
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Header {
            Layout.fillWidth: true
            bridge: root.bridge
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.separator
        }

        ScreenBody {
            Layout.fillWidth: true
            bridge: root.bridge
            inboxScreen: root.inboxScreen
            updates: root.updates
            detail: root.detail
            card: root.card
            channels: root.channels
            engage: root.engage
            pair: root.pair
            settings: root.settings
            Layout.fillHeight: true
        }
    }

    SpecularEdge {
        anchors.fill: parent
        radius: 14
    }
}
