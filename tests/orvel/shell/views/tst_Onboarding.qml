import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "Onboarding"
    visible: true
    when: windowShown
    width: 420
    height: 640

    Component {
        id: pairScreen
        PairScreen {
            anchors.fill: parent
        }
    }

    Component {
        id: engageScreen
        EngageScreen {
            anchors.fill: parent
        }
    }

    Component {
        id: welcomeScreen
        WelcomeScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    function showPair() {
        Fixture.bridge.open(ModelBridge.Pair)
        const view = createTemporaryObject(pairScreen, test, {pair: Fixture.pair})
        verify(view)
        verify(Fixture.visibleText(view, "Creating…"))
        Fixture.settle()
        return view
    }

    function test_theCodeShowsTheTimeItHasLeft_data() {
        return [
            {tag: "ten minutes", expiresIn: 600, text: "Expires in 10:00", later: "Expires in 9:59"},
            {tag: "one minute and five seconds", expiresIn: 65, text: "Expires in 1:05", later: "Expires in 1:04"},
        ]
    }

    function test_theCodeShowsTheTimeItHasLeft(data) {
        Fixture.answer("pair/code", JSON.stringify({code: "K7Q 2M", expires_in: data.expiresIn}))
        const view = showPair()
        verify(Fixture.visibleText(view, "K7Q 2M"))
        verify(Fixture.visibleText(view, data.text))
        Fixture.advanceSeconds(1)
        verify(Fixture.visibleText(view, data.later))
        mouseClick(findChild(view, "openWeb"))
        verify(Fixture.openedUrl.endsWith("#pair=K7Q%202M"), Fixture.openedUrl)
    }

    function test_anExpiredCodeCannotBeOpenedOnTheWeb() {
        Fixture.answer("pair/code", JSON.stringify({code: "K7Q2M", expires_in: 65}))
        const view = showPair()
        Fixture.advanceSeconds(65)
        verify(Fixture.visibleText(view, "Expired"))
        verify(!findChild(view, "openWeb").enabled)
        verify(findChild(view, "newCode").visible)
    }

    function test_aFailedPairingIsUnavailableWithoutOpenWeb() {
        Fixture.fail("pair/code", 500)
        const view = showPair()
        verify(Fixture.visibleText(view, "Unavailable"))
        verify(findChild(view, "pairError").text.startsWith("Couldn't create a pairing code: "))
        const openWeb = findChild(view, "openWeb")
        verify(!openWeb.enabled)
        mouseClick(openWeb)
        compare(Fixture.openedUrl, "")
    }

    function test_aFailedCreationOffersTryAgainThenCopiesTheInstructions() {
        Fixture.fail("engage", 500)
        Fixture.bridge.open(ModelBridge.Engage)
        const view = createTemporaryObject(engageScreen, test, {engage: Fixture.engage})
        verify(Fixture.visibleText(view, "Creating channel key…"))
        Fixture.settle()
        const tryAgain = findChild(view, "tryAgain")
        verify(tryAgain.visible)
        verify(findChild(view, "engageError").text.startsWith("Couldn't create channel: "))
        Fixture.answer("engage", JSON.stringify({channel: "new-ch", sender: "agent", token: "orvel_pub_s3cret"}))
        mouseClick(tryAgain)
        Fixture.settle()
        verify(findChild(view, "instructionsPanel").visible)
        verify(!findChild(view, "engageError").visible)
        verify(Fixture.visibleText(view, "It will stay pending until its first update arrives."))
        mouseClick(findChild(view, "copyInstructions"))
        compare(Fixture.clipboardText(), Fixture.engage.instructions)
        verify(Fixture.clipboardText().endsWith(": orvel_pub_s3cret"), Fixture.clipboardText())
    }

    function test_welcomeLeadsToANewChannelOrPairing_data() {
        return [
            {tag: "create", button: "createFirstChannel", screen: ModelBridge.Engage},
            {tag: "already use it", button: "alreadyUseOrvel", screen: ModelBridge.Pair},
        ]
    }

    function test_welcomeLeadsToANewChannelOrPairing(data) {
        Fixture.bridge.open(ModelBridge.Welcome)
        const view = createTemporaryObject(welcomeScreen, test, {bridge: Fixture.bridge})
        mouseClick(findChild(view, data.button))
        compare(Fixture.bridge.currentScreen, data.screen)
    }
}
