import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "InboxScreen"
    visible: true
    width: 420
    height: 900
    when: windowShown

    Component {
        id: inboxScreen
        InboxScreen {
            width: test.width
            height: test.height
        }
    }

    function init() { Fixture.reset() }

    function show() {
        const view = createTemporaryObject(inboxScreen, test,
                                           {bridge: Fixture.bridge, screen: Fixture.inboxScreen})
        verify(view)
        return view
    }

    function needs(count) {
        const updates = []
        for (let i = 0; i < count; ++i)
            updates.push({status: "need", title: "Approve deploy " + i, agent: "agent-" + i,
                          minutesAgo: 5 + i})
        return updates
    }

    function test_fiveAttentionRowsShowFourAndTheLinkCountsTheRest() {
        const view = show()
        Fixture.sync(needs(5))
        Fixture.settle()
        const rows = findChild(view, "attentionRows")
        tryCompare(rows, "count", 4)
        compare(Fixture.inboxScreen.attentionCount, 5)
        compare(findChild(view, "updatesDetail").text, "1 more needing attention")
        verify(!findChild(view, "allClear").visible)
        verify(!findChild(view, "emptyState").visible)

        // A row opens its update, by click or by the keyboard.
        waitForRendering(view)
        mouseClick(rows.itemAt(0))
        compare(Fixture.bridge.currentScreen, ModelBridge.Detail)
        compare(Fixture.bridge.currentId, rows.itemAt(0).rowId)
        Fixture.bridge.back()
        rows.itemAt(0).forceActiveFocus()
        keyClick(Qt.Key_Down)
        verify(rows.itemAt(1).activeFocus)
        keyClick(Qt.Key_Return)
        compare(Fixture.bridge.currentId, rows.itemAt(1).rowId)
    }

    function test_theAllClearCardNamesItsScope() {
        const view = show()
        Fixture.sync([{status: "done", agent: "a"}, {status: "done", agent: "b"},
                      {status: "done", agent: "c"}])
        Fixture.settle()
        const text = findChild(view, "allClearText")
        // Ten in the morning on the fixture's clock: the overnight briefing.
        tryCompare(text, "text", "3 agents completed work in this briefing")
        verify(findChild(view, "allClear").visible)

        Fixture.visitedMinutesAgo(30)
        tryCompare(text, "text", "3 agents completed work since your last visit")
    }

    function test_anInboxWithOnlyCardsShowsTheRailAndTheBriefing() {
        const view = show()
        verify(findChild(view, "emptyState").visible)
        verify(Fixture.syncJson(JSON.stringify({channels: [{
            channel: "ch", latest_seq: 0, read_seq: 0, latest_card_seq: 1, notifications: [],
            card_updates: [{
                card_key: "spend", card_seq: 1, channel: "ch", created_at: "2026-12-06T09:00:00Z",
                id: "cu1", update_id: "u1",
                definition: {renderer: "metric", title: "Spend", fields: [
                    {id: "f", kind: "money", label: "Today", role: "primary"}]},
                operation: {kind: "snapshot", values: [
                    {field_id: "f", kind: "money", value: "12.5", display: "$12.50",
                     tone: "warning"}]}}]}]})))
        Fixture.settle()
        tryCompare(findChild(view, "emptyState"), "visible", false)
        verify(findChild(view, "briefing").visible)
        verify(findChild(view, "cardsRail").visible)

        const tiles = findChild(view, "cardTiles")
        tryCompare(tiles, "count", 1)
        waitForRendering(view)
        mouseClick(tiles.itemAtIndex(0))
        compare(Fixture.bridge.currentScreen, ModelBridge.Card)
        compare(Fixture.bridge.currentId, "ch/spend")
    }

    function test_removeFromYourAttentionRemovesTheRow() {
        const view = show()
        Fixture.sync(needs(2))
        Fixture.settle()
        const rows = findChild(view, "attentionRows")
        tryCompare(rows, "count", 2)
        const removed = rows.itemAt(0).rowId
        waitForRendering(view)

        mouseClick(findChild(rows.itemAt(0), "moreActions"))
        const menu = findChild(rows.itemAt(0), "moreActionsMenu")
        tryCompare(menu, "opened", true)
        mouseClick(findChild(menu, "removeFromAttention"))
        Fixture.settle()
        tryCompare(rows, "count", 1)
        verify(rows.itemAt(0).rowId !== removed)
        compare(Fixture.bridge.currentScreen, ModelBridge.Inbox)
    }
}
