import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "ActivityWindow"
    visible: true
    when: windowShown
    width: 1060
    height: 720

    Component {
        id: window
        ExpandedActivityView {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    function show() {
        const view = createTemporaryObject(window, test, {activity: Fixture.activity})
        verify(view)
        return view
    }

    function note(channel, seq, status, title, createdAt) {
        return {id: channel + "-" + seq, channel: channel, seq: seq, status: status, title: title,
                created_at: createdAt, urgency: "normal"}
    }

    function card(channel) {
        return {card_key: "spend", card_seq: 1, channel: channel, id: "cu1", update_id: "u1",
                created_at: "2026-12-06T09:00:00Z",
                definition: {title: "Spend", renderer: "table", renderer_version: 1,
                             fields: [{id: "s", kind: "text", label: "Spent"}]},
                operation: {kind: "snapshot",
                            values: [{field_id: "s", kind: "text", display: "Quarterly budget",
                                      value: "120"}]}}
    }

    // Channel "a" ("Builder") with one update three days ago, channel "b" with
    // a request today, and a card on "b"; `withA` false leaves "a" out.
    function syncTwoChannels(withA) {
        const channels = [{channel: "b", latest_seq: 1, latest_card_seq: 1, read_seq: 0,
                           notifications: [note("b", 1, "need", "Approve deploy", "2026-12-06T09:30:00Z")],
                           card_updates: [card("b")]}]
        if (withA)
            channels.push({channel: "a", name: "Builder", latest_seq: 1, read_seq: 0,
                           notifications: [note("a", 1, "done", "Nightly build", "2026-12-03T08:00:00Z")]})
        verify(Fixture.syncJson(JSON.stringify({channels: channels})))
        Fixture.settle()
    }

    function test_noUpdatesShowsNoActivityYet() {
        const view = show()
        verify(Fixture.visibleText(view, "No activity yet"))
        compare(Fixture.activity.destination, ExpandedActivityModel.Attention)
    }

    function test_aDayGoneAfterAMergeSaysSoAndTheSidebarStillWorks() {
        syncTwoChannels(true)
        const view = show()
        compare(Fixture.activity.days.count, 2)
        mouseClick(findChild(view, "dayEntry1"))
        compare(Fixture.activity.subtitle, "1 updates · All channels")
        verify(Fixture.visibleText(view, "Nightly build"))

        syncTwoChannels(false)
        compare(Fixture.activity.days.count, 1)
        verify(Fixture.visibleText(view, "That day is no longer available"))
        // From the keyboard: a click this soon after the last would read as
        // a double click.
        findChild(view, "attentionEntry").forceActiveFocus()
        keyClick(Qt.Key_Return)
        compare(Fixture.activity.title, "Needs you")
        verify(!Fixture.visibleText(view, "That day is no longer available"))
        verify(Fixture.visibleText(view, "Approve deploy"))
    }

    function test_onlyWebLinksAreOffered() {
        Fixture.sync([{status: "need", title: "Deploy", links: [
            {label: "Build", url: "HTTPS://ci.example.com/1"},
            {label: "Script", url: "javascript:alert(1)"},
            {label: "Files", url: "ftp://example.com/x"},
            {label: "Broken", url: "http://"}]}])
        Fixture.settle()
        show()
        Fixture.activity.openUpdate(0)
        verify(Fixture.activity.updateSheetShown)
        compare(Fixture.activity.updateLinks.map(link => link.label), ["Build"])
        compare(Fixture.activity.updateLinks[0].url.slice(0, 8), "https://")
        verify(Fixture.activity.updateNeedsYou)
        Fixture.activity.completeAttention()
        Fixture.settle()
        verify(!Fixture.activity.updateNeedsYou)
        compare(Fixture.activity.attentionCount, 0)
    }

    function test_aQueryMatchingOnlyAFieldDisplayKeepsTheCard() {
        syncTwoChannels(true)
        const view = show()
        mouseClick(findChild(view, "cardsEntry"))
        Fixture.activity.setQuery("QUARTERLY")
        compare(Fixture.activity.cards.count, 1)
        Fixture.activity.setQuery("weekly")
        compare(Fixture.activity.cards.count, 0)
        verify(Fixture.visibleText(view, "No cards match these filters"))
    }

    function test_subtitleFollowsDestinationAndScope_data() {
        return [
            {tag: "needs you, all", entry: "attentionEntry", channel: "", subtitle: "1 items · All channels"},
            {tag: "needs you, other channel", entry: "attentionEntry", channel: "a", subtitle: "0 items · Builder"},
            {tag: "cards, channel", entry: "cardsEntry", channel: "b", subtitle: "1 live cards · b"},
            {tag: "day, channel", entry: "dayEntry1", channel: "a", subtitle: "1 updates · Builder"},
            {tag: "day, unknown channel", entry: "dayEntry0", channel: "gone", subtitle: "0 updates · All channels"},
        ]
    }

    function test_subtitleFollowsDestinationAndScope(data) {
        syncTwoChannels(true)
        const view = show()
        mouseClick(findChild(view, data.entry))
        if (data.channel !== "")
            Fixture.activity.selectChannel(data.channel)
        compare(Fixture.activity.subtitle, data.subtitle)
        verify(Fixture.visibleText(view, data.subtitle))
    }
}
