import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "ChannelsScreen"
    visible: true
    when: windowShown
    width: 420
    height: 640

    Component {
        id: channelsScreen
        ChannelsScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    // An update `hoursAgo` before the fixture's clock (2026-12-06T10:00Z).
    function update(channel, hoursAgo) {
        const at = new Date(Date.UTC(2026, 11, 6, 10) - hoursAgo * 3600 * 1000)
        return {id: channel + "-1", channel: channel, seq: 1, title: "Report", urgency: "normal",
                created_at: at.toISOString().replace(".000", "")}
    }

    function channel(id, name, hoursAgo) {
        return {channel: id, name: name, latest_seq: hoursAgo === undefined ? 0 : 1, read_seq: 0,
                notifications: hoursAgo === undefined ? [] : [update(id, hoursAgo)]}
    }

    // "ch" active, "fresh" pending, two idle ones; the screen over them.
    function sync() {
        verify(Fixture.syncJson(JSON.stringify({channels: [
            channel("ch", "Build bot", 1), channel("fresh", "Fresh"),
            channel("ops-nightly-7f3a", "Nightly reports", 72), channel("deploy-west", "Deploy", 120)]})))
        Fixture.settle()
    }

    function show() {
        sync()
        const view = createTemporaryObject(channelsScreen, test, {channels: Fixture.channels})
        verify(view)
        return view
    }

    function shownIds(view) {
        const list = findChild(view, "channelList")
        list.forceLayout()
        const ids = []
        for (let i = 0; i < list.count; ++i)
            ids.push(list.itemAtIndex(i).channel)
        return ids.sort()
    }

    function type(view, text) {
        const field = findChild(view, "channelSearch")
        mouseClick(field)
        for (const character of text)
            keyClick(character)
    }

    function test_searchMatchesIdOrNameAndFindsIdleChannels_data() {
        return [
            {tag: "no search: idle hidden", query: "", ids: ["ch", "fresh"], count: "2 channels"},
            {tag: "part of an id, other case, name differs", query: "NIGHTLY-7F",
                ids: ["ops-nightly-7f3a"], count: "1 channels"},
            {tag: "part of a display name", query: "bot", ids: ["ch"], count: "1 channels"},
            {tag: "nothing matches", query: "zzz", ids: [], count: "0 channels"},
        ]
    }

    function test_searchMatchesIdOrNameAndFindsIdleChannels(data) {
        const view = show()
        type(view, data.query)
        compare(Fixture.channels.query, data.query)
        tryCompare(findChild(view, "channelCount"), "text", data.count)
        compare(shownIds(view), data.ids)
        compare(findChild(view, "idleToggle").visible, data.query.length === 0)
        compare(Fixture.visibleText(view, "No matching channels") !== null, data.ids.length === 0)
    }

    function test_theIdleButtonShowsAndHidesIdleChannels() {
        const view = show()
        const toggle = findChild(view, "idleToggle")
        compare(toggle.text, "Show 2 idle channels")
        mouseClick(toggle)
        compare(shownIds(view), ["ch", "deploy-west", "fresh", "ops-nightly-7f3a"])
        compare(toggle.text, "Hide idle channels")
        mouseClick(toggle)
        compare(shownIds(view), ["ch", "fresh"])
    }

    function test_withoutIdleChannelsThereIsNoIdleButton() {
        Fixture.settle()
        const view = createTemporaryObject(channelsScreen, test, {channels: Fixture.channels})
        compare(shownIds(view), ["ch"])
        verify(!findChild(view, "idleToggle").visible)
    }

    function test_aLaterSyncKeepsTheRowsAndRefreshesTheirText() {
        const view = show()
        const list = findChild(view, "channelList")
        list.forceLayout()
        const first = list.itemAtIndex(0)
        compare(first.detail, "Active · updated 1h ago")
        Fixture.advanceMinutes(60)
        sync()
        compare(list.itemAtIndex(0), first)
        compare(first.detail, "Active · updated 2h ago")
    }
}
