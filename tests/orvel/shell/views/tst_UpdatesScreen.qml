import QtQuick
import QtTest
import Orvel
import OrvelTest

TestCase {
    id: test
    name: "UpdatesScreen"
    visible: true
    when: windowShown
    width: 420
    height: 640

    Component {
        id: updatesScreen
        UpdatesScreen {
            anchors.fill: parent
        }
    }

    function init() {
        Fixture.reset()
    }

    // Builder: 5 updates (one failed, one running), Planner: 3 (one needs
    // you), Solo: 1; newest first in that order within each source.
    function syncSources() {
        const updates = []
        const add = (agent, statuses) => statuses.forEach(status => updates.push({
            status: status, agent: agent, title: agent + " " + updates.length,
            minutesAgo: updates.length + 1}))
        add("Builder", ["failed", "done", "done", "running", "done"])
        add("Planner", ["need", "done", "done"])
        add("Solo", ["done"])
        Fixture.sync(updates)
        Fixture.settle()
    }

    function screen() {
        Fixture.bridge.open(ModelBridge.Updates)
        Fixture.settle()
        const view = createTemporaryObject(updatesScreen, test, {updates: Fixture.updates})
        verify(view)
        return view
    }

    function items(view) {
        const list = findChild(view, "updatesList")
        const shown = []
        for (let i = 0; i < list.count; ++i) {
            list.positionViewAtIndex(i, ListView.Contain)
            const item = list.itemAtIndex(i)
            shown.push(item.kind === UpdatesListModel.GroupHeader ? "header " + item.agent + " " + item.groupCount
                       : item.kind === UpdatesListModel.GroupToggle ? "toggle " + item.toggleText
                       : item.summary + (item.failed ? " failed" : ""))
        }
        return shown
    }

    function test_filtersCountWhatTheyKeep_data() {
        return [
            {tag: "all", filter: UpdatesListModel.All, count: 9},
            {tag: "needs you", filter: UpdatesListModel.NeedsYou, count: 1},
            {tag: "running", filter: UpdatesListModel.Running, count: 1},
            {tag: "failed", filter: UpdatesListModel.Failed, count: 1},
        ]
    }

    function test_filtersCountWhatTheyKeep(data) {
        syncSources()
        const view = screen()
        mouseClick(Fixture.visibleText(view, Fixture.updates.filterTitles[data.filter]))
        compare(Fixture.updates.filter, data.filter)
        verify(Fixture.visibleText(view, String(data.count)), "All activity shows the count")
        compare(findChild(view, "updatesList").count, data.count)
    }

    function test_needsYouWithoutSuchUpdatesSaysSo() {
        Fixture.sync([{status: "done"}, {status: "running"}])
        Fixture.settle()
        const view = screen()
        Fixture.updates.filter = UpdatesListModel.NeedsYou
        verify(Fixture.visibleText(view, "No needs-you updates"))
        verify(!findChild(view, "updatesList").visible)
    }

    function test_groupsCollapseToThreeAndToggle() {
        syncSources()
        Fixture.setGroupActivityUpdates(true)
        const view = screen()
        compare(items(view), ["header Builder 5 updates", "Builder 0 failed", "Builder 1", "Builder 2",
                              "toggle 2 earlier updates", "header Planner 3 updates", "Planner 5",
                              "Planner 6", "Planner 7", "header Solo ", "Solo 8"])
        Fixture.updates.activate(4)
        compare(items(view).slice(0, 7), ["header Builder 5 updates", "Builder 0 failed", "Builder 1",
                                          "Builder 2", "Builder 3", "Builder 4", "toggle Show less"])
        Fixture.updates.activate(6)
        compare(items(view)[4], "toggle 2 earlier updates")
    }

    function test_filteredGroupsCountOnlyTheRowsThatPass() {
        syncSources()
        Fixture.setGroupActivityUpdates(true)
        const view = screen()
        Fixture.updates.filter = UpdatesListModel.Failed
        compare(items(view), ["header Builder ", "Builder 0 failed"])
        verify(Fixture.visibleText(view, "1"))
    }

    function test_enterOpensTheChosenRow() {
        syncSources()
        const view = screen()
        const list = findChild(view, "updatesList")
        list.forceActiveFocus()
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        compare(Fixture.bridge.currentScreen, ModelBridge.Detail)
        compare(Fixture.bridge.currentId, "ch-2")
    }
}
