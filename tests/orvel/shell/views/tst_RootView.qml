import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "RootView"
    visible: true
    width: 420
    height: 640

    Component {
        id: rootView
        RootView {}
    }

    function init() { Fixture.reset() }

    function test_theHeaderFollowsNavigation() {
        const view = createTemporaryObject(rootView, test, {
            bridge: Fixture.bridge, inboxScreen: Fixture.inboxScreen, updates: Fixture.updates,
            detail: Fixture.detail, card: Fixture.card, channels: Fixture.channels,
            engage: Fixture.engage, pair: Fixture.pair, settings: Fixture.settings})
        verify(view)
        compare(Fixture.bridge.currentScreen, ModelBridge.Inbox)
        Fixture.bridge.open(ModelBridge.Updates)
        compare(Fixture.bridge.headerTitle, "Updates")
        Fixture.bridge.performHeaderAction(ModelBridge.Back)
        compare(Fixture.bridge.currentScreen, ModelBridge.Inbox)
    }
}
