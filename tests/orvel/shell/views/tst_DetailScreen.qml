import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "DetailScreen"
    visible: true
    when: windowShown
    width: 420
    height: 640

    Component {
        id: detailScreen
        DetailScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    // Syncs `update` (seq 1, id "ch-1") and shows its detail.
    function show(update) {
        Fixture.sync([update])
        Fixture.bridge.open(ModelBridge.Detail, "ch-1")
        Fixture.settle()
        const view = createTemporaryObject(detailScreen, test, {detail: Fixture.detail})
        verify(view)
        return view
    }

    function test_whatTheUpdateShows_data() {
        return [
            {tag: "first name before the middle dot", update: {status: "need", agent: "Codex · daily-sync",
                body: "Merged **two** branches."}, hint: "Orvel shows the update — approve it in Codex.",
                text: "Merged **two** branches.", waiting: true},
            {tag: "blank pieces only", update: {status: "done", agent: " · ", title: "Deployed"},
                hint: "Orvel shows the update — approve it in the agent.", text: "Deployed", waiting: false},
            {tag: "a body that renders to nothing", update: {agent: "CI", title: "Build 7", body: " \n\n "},
                hint: "Orvel shows the update — approve it in CI.", text: "Build 7", waiting: false},
        ]
    }

    function test_whatTheUpdateShows(data) {
        const view = show(data.update)
        verify(Fixture.visibleText(view, data.hint))
        compare(Fixture.detail.body.length > 0 ? Fixture.detail.body : Fixture.detail.plainText, data.text)
        compare(Fixture.visibleText(view, "Waiting on you") !== null, data.waiting)
        compare(Fixture.detail.reportedTitle, "What " + data.update.agent + " reported")
    }

    function test_theFirstWebLinkIsOffered_data() {
        return [
            {tag: "upper-case HTTPS after a mail link", links: [{label: "Write", url: "mailto:a@example.org"},
                {label: "Open the PR", url: "HTTPS://example.org/pr/7"}], label: "Open the PR"},
            {tag: "no web link", links: [{label: "Write", url: "mailto:a@example.org"},
                {label: "Files", url: "file:///etc/passwd"}], label: ""},
        ]
    }

    function test_theFirstWebLinkIsOffered(data) {
        const view = show({status: "info", links: data.links})
        const button = findChild(view, "linkButton")
        compare(button.visible, data.label.length > 0)
        compare(Fixture.detail.linkLabel, data.label)
        if (data.label.length > 0)
            compare(Fixture.detail.linkUrl.toLowerCase().indexOf("https://example.org/pr/7"), 0)
    }

    function test_doneLeavesWithTheUpdateAndDoesNotComeBack() {
        let view = show({status: "need", title: "Approve the deploy"})
        const done = findChild(view, "doneButton")
        verify(done.visible)
        mouseClick(done)
        Fixture.settle()
        compare(Fixture.bridge.currentScreen, ModelBridge.Inbox)
        Fixture.bridge.open(ModelBridge.Detail, "ch-1")
        Fixture.settle()
        verify(Fixture.detail.available, "the update stays in Updates")
        verify(!findChild(view, "doneButton").visible)
    }

    function test_showingTheDetailMarksNothingRead() {
        show({status: "need"})
        Fixture.advanceMinutes(1)
        verify(Fixture.detail.available)
        verify(!Fixture.isRead("ch-1"))
    }

    function test_aRemovedUpdateIsNoLongerHere() {
        Fixture.sync([{status: "need"}])
        Fixture.bridge.open(ModelBridge.Detail, "ch-404")
        Fixture.settle()
        const view = createTemporaryObject(detailScreen, test, {detail: Fixture.detail})
        verify(Fixture.visibleText(view, "This update is no longer here."))
        verify(!findChild(view, "doneButton").visible)
    }
}
