// The owner's menu of a channel: edit its display name, rotate its key, and,
// after a divider, retire it (in red).
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Orvel

Menu {
    id: menu
    signal renameChosen()
    signal rotateChosen()
    signal retireChosen()

    padding: 4
    // Stays inside the window, however close to its edge it opens.
    margins: 8

    background: Rectangle {
        implicitWidth: 200
        radius: 9
        color: Theme.dialogSurface
        border.width: 0.5
        border.color: Theme.controlBorder
    }

    component Entry: MenuItem {
        id: entry
        property bool destructive: false
        implicitHeight: 28
        contentItem: Text {
            leftPadding: 6
            text: entry.text
            color: entry.destructive ? Theme.red : Theme.text
            font.pixelSize: 13
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: entry.highlighted ? Theme.selection : "transparent"
        }
    }

    Entry {
        objectName: "editDisplayName"
        text: qsTr("Edit display name…")
        onTriggered: menu.renameChosen()
    }

    Entry {
        objectName: "rotateKey"
        text: qsTr("Rotate key…")
        onTriggered: menu.rotateChosen()
    }

    MenuSeparator {
        contentItem: Rectangle {
            implicitHeight: 1
            color: Theme.separator
        }
    }

    Entry {
        objectName: "retireChannel"
        text: qsTr("Retire channel")
        destructive: true
        onTriggered: menu.retireChosen()
    }
}
