import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "CardScreen"
    visible: true
    when: windowShown
    width: 420
    height: 640

    Component {
        id: cardScreen
        PersistentCardScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    // Card "ch/spend" drawn by `renderer` v3 with `fields`
    // ([{id, label, display, role}]), and its screen.
    function show(renderer, fields) {
        const update = {
            card_key: "spend", card_seq: 1, channel: "ch", id: "cu1", update_id: "u1",
            created_at: "2026-12-05T12:00:00Z",
            definition: {title: "Spend", renderer: renderer, renderer_version: 3,
                         fields: fields.map(f => ({id: f.id, kind: "text", label: f.label, role: f.role}))},
            operation: {kind: "snapshot",
                        values: fields.map(f => ({field_id: f.id, kind: "text", display: f.display, value: f.display}))}
        }
        verify(Fixture.syncJson(JSON.stringify({channels: [{channel: "ch", latest_seq: 0, latest_card_seq: 1,
            read_seq: 0, notifications: [], card_updates: [update]}]})))
        Fixture.bridge.open(ModelBridge.Card, "ch/spend")
        Fixture.settle()
        const view = createTemporaryObject(cardScreen, test, {card: Fixture.card})
        verify(view)
        return view
    }

    function rowLabels() {
        return Fixture.card.fields.map(field => field.label)
    }

    function test_layoutAndFooterFollowTheRenderer_data() {
        const budget = {id: "b", label: "Budget", display: "$900"}
        const spend = {id: "s", label: "Spent", display: "$120", role: "primary"}
        const plain = {id: "s", label: "Spent", display: "$120"}
        return [
            {tag: "metric", renderer: "metric", fields: [budget, spend], large: "$120",
                rows: ["Budget"], footer: "Rendered with metric v3."},
            {tag: "metric without a primary role", renderer: "metric", fields: [budget, plain],
                large: "$900", rows: ["Spent"], footer: "Rendered with metric v3."},
            {tag: "unknown renderer", renderer: "table", fields: [budget, spend], large: "",
                rows: ["Budget", "Spent"],
                footer: "Rendered with the generic labelled-value layout for table v3."},
        ]
    }

    function test_layoutAndFooterFollowTheRenderer(data) {
        const view = show(data.renderer, data.fields)
        compare(Fixture.card.metric, data.large.length > 0)
        compare(Fixture.card.primaryDisplay, data.large)
        compare(rowLabels(), data.rows)
        verify(Fixture.visibleText(view, data.footer))
        verify(Fixture.visibleText(view, "ch · updated " + Fixture.card.subtitle.split(" ").pop()))
        for (const row of data.rows)
            verify(Fixture.visibleText(view, row), row)
    }

    function test_pinFlipsAtOnce() {
        const view = show("metric", [{id: "s", label: "Spent", display: "$120"}])
        const pin = findChild(view, "pinButton")
        compare(pin.text, "Pin")
        compare(pin.symbol, "pin")
        mouseClick(pin)
        Fixture.settle()
        compare(pin.text, "Unpin")
        compare(pin.symbol, "pin.slash")
        mouseClick(pin)
        Fixture.settle()
        compare(pin.text, "Pin")
    }

    function test_aMissingCardIsNoLongerAvailable() {
        Fixture.bridge.open(ModelBridge.Card, "ch/gone")
        Fixture.settle()
        const view = createTemporaryObject(cardScreen, test, {card: Fixture.card})
        verify(Fixture.visibleText(view, "This card is no longer available."))
        verify(!Fixture.visibleText(view, "Pin"))
    }
}
