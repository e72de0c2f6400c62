// How lively a channel is: a 7-point dot, gold while pending, green when
// active, blue when quiet, faint when idle; its label names the state.
import QtQuick
import Orvel

Item {
    id: view
    // "pending", "active", "quiet" or "idle".
    property string activity: "pending"

    readonly property var colorNames: ({pending: "gold", active: "green", quiet: "blue", idle: "faint"})
    readonly property var labels: ({
        pending: qsTr("Pending"), active: qsTr("Active"), quiet: qsTr("Quiet"), idle: qsTr("Idle")
    })

    implicitWidth: 7
    implicitHeight: 7
    Accessible.role: Accessible.Indicator
    Accessible.name: view.labels[view.activity] ?? ""

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: Theme.colors[view.colorNames[view.activity] ?? "faint"]
    }
}
