import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "SettingsScreen"
    visible: true
    when: windowShown
    width: 420
    height: 900

    Component {
        id: settingsScreen
        SettingsScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    // A sync that reports `channels` ({channel, owned, name}; no updates,
    // so each is pending) beside the configured, owned "ch".
    function syncChannels(channels) {
        const all = [{channel: "ch", owned: true}].concat(channels)
        verify(Fixture.syncJson(JSON.stringify({channels: all.map(c => ({
            channel: c.channel, owned: c.owned === true, name: c.name,
            latest_seq: 0, read_seq: 0, notifications: []}))})))
        Fixture.bridge.open(ModelBridge.Settings)
        Fixture.settle()
        const view = createTemporaryObject(settingsScreen, test,
                                           {bridge: Fixture.bridge, settings: Fixture.settings})
        verify(view)
        return view
    }

    function rowFor(view, name) {
        const label = Fixture.visibleText(view, name)
        verify(label, name)
        let item = label
        while (item && item.objectName !== "channelRow")
            item = item.parent
        return item
    }

    // Opens `dialog` through the "more" menu's `entry` and waits for it to
    // have faded in.
    function openPrompt(view, entry, dialog) {
        mouseClick(findChild(rowFor(view, "ch"), "channelMore"))
        const menu = findChild(rowFor(view, "ch"), "channelMenu")
        tryVerify(() => menu.opened)
        findChild(menu, entry).triggered()
        const shown = findChild(view, dialog)
        tryCompare(shown, "opacity", 1)
        return shown
    }

    function test_theMoreMenuIsTheOwnersOnly() {
        const view = syncChannels([{channel: "theirs", name: "Their bot"}])
        verify(findChild(rowFor(view, "ch"), "channelMore").visible)
        verify(!findChild(rowFor(view, "Their bot"), "channelMore").visible)
    }

    function test_seeAllChannelsOnlyWhenTheShortListLeavesSomeOut_data() {
        // The short list takes two pending channels at most.
        return [
            {tag: "two pending", channels: [{channel: "b"}], shown: false},
            {tag: "three pending", channels: [{channel: "b"}, {channel: "c"}], shown: true},
        ]
    }

    function test_seeAllChannelsOnlyWhenTheShortListLeavesSomeOut(data) {
        const view = syncChannels(data.channels)
        compare(findChild(view, "seeAllChannels").visible, data.shown)
    }

    function test_theDisplayNameTakesOneToEightyCharacters_data() {
        const eighty = "é".repeat(40) + "🇫🇷".repeat(40)
        return [
            {tag: "80 characters, flags and accents once each", draft: "  " + eighty + "\n", saves: eighty},
            {tag: "81 characters", draft: "x".repeat(81), saves: ""},
            {tag: "only white space", draft: " \t\n ", saves: ""},
        ]
    }

    function test_theDisplayNameTakesOneToEightyCharacters(data) {
        Fixture.answer("channels/rename", JSON.stringify({channel: "ch", name: data.saves}))
        const view = syncChannels([])
        const dialog = openPrompt(view, "editDisplayName", "renameDialog")
        compare(findChild(dialog, "displayNameField").text, "ch", "the draft starts at the name")
        compare(dialog.title, "Display name for ch")
        Fixture.settings.renameDraft = data.draft
        const save = findChild(dialog, "saveButton")
        compare(save.enabled, data.saves.length > 0)
        mouseClick(save)
        Fixture.settle()
        const body = Fixture.lastRequestBody("channels/rename")
        if (data.saves.length > 0) {
            compare(JSON.parse(body).name, data.saves)
            compare(Fixture.settings.prompt, SettingsScreenModel.NoPrompt)
        } else {
            compare(body, "")
            compare(Fixture.settings.prompt, SettingsScreenModel.Rename)
        }
    }

    function test_aRotationShowsTheNewKeyOnce_data() {
        return [
            {tag: "with an expiry", expiry: "2026-12-07T10:00:00Z", previousWorks: true},
            {tag: "without one", expiry: undefined, previousWorks: false},
        ]
    }

    function test_aRotationShowsTheNewKeyOnce(data) {
        Fixture.answer("keys/rotate", JSON.stringify({channel: "ch", key_id: "k2", sender: "Codex",
            token: "orvel_pub_new", previous_keys_expire_at: data.expiry}))
        const view = syncChannels([])
        compare(openPrompt(view, "rotateKey", "rotateDialog").title, "Rotate ch key")
        mouseClick(findChild(view, "rotateWithGrace"))
        Fixture.settle()
        verify(JSON.parse(Fixture.lastRequestBody("keys/rotate")).grace_hours === 24)
        tryVerify(() => findChild(view, "newKeyPanel").visible)
        verify(Fixture.visibleText(view, "NEW KEY — COPY IT NOW"))
        compare(findChild(view, "newKeyToken").text, "orvel_pub_new")
        compare(Fixture.visibleText(view, "Previous key works for 24 hours") !== null, data.previousWorks)
        mouseClick(findChild(view, "copyInstructions"))
        verify(Fixture.clipboardText().indexOf("orvel_pub_new") > 0)
        mouseClick(findChild(view, "newKeyDone"))
        verify(!findChild(view, "newKeyPanel").visible)
    }

    function test_aFailedRotationShowsNoKeyAndEscapeOrLeavingClosesADialog() {
        Fixture.answer("keys/rotate", "{}")
        const view = syncChannels([])
        openPrompt(view, "rotateKey", "rotateDialog")
        mouseClick(findChild(view, "rotateImmediately"))
        Fixture.settle()
        verify(!findChild(view, "newKeyPanel").visible)
        // Escape closes the dialog, not the screen.
        openPrompt(view, "retireChannel", "retireDialog")
        keyClick(Qt.Key_Escape)
        compare(Fixture.settings.prompt, SettingsScreenModel.NoPrompt)
        compare(Fixture.bridge.currentScreen, ModelBridge.Settings)
        openPrompt(view, "retireChannel", "retireDialog")
        Fixture.bridge.back()
        Fixture.settle()
        compare(Fixture.settings.prompt, SettingsScreenModel.NoPrompt)
        compare(Fixture.lastRequestBody("channels/retire"), "")
    }

    function test_launchAtLoginShowsWhatTheDesktopHas() {
        const view = syncChannels([])
        const toggle = findChild(view, "launchAtLogin")
        verify(!toggle.checked)
        mouseClick(toggle)
        verify(toggle.checked)
        verify(Fixture.launchesAtLogin())
    }

    function test_checkingForUpdatesWaitsForTheCheckToEnd() {
        const view = syncChannels([])
        const check = findChild(view, "checkForUpdates")
        verify(check.enabled)
        mouseClick(check)
        verify(!check.enabled)
        Fixture.finishUpdateCheck()
        verify(check.enabled)
    }
}
