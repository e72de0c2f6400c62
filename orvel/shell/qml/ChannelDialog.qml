// A channel's dialog over the screen it belongs to: the screen dims (black at
// 22 %) and the dialog fades in and out over 0.12 s (at once with reduced
// motion). 320 wide, a title and an explanation, then what the dialog puts
// in; Escape cancels. Clicks on the dimmed screen go nowhere while it shows.
import QtQuick
import QtQuick.Layouts
import Orvel

FocusScope {
    id: dialog
    property bool shown: false
    property string title
    property string explanation
    // The dialog's own content: fields and buttons, top to bottom.
    default property alias content: slot.data
    // Takes the focus when the dialog opens.
    property Item initialFocus
    signal cancelled()

    visible: opacity > 0
    opacity: shown ? 1 : 0
    // While it fades out it takes no clicks or keys.
    enabled: shown
    focus: shown
    Accessible.role: Accessible.Dialog
    Accessible.name: title

    Behavior on opacity {
        enabled: !Theme.reduceMotion
        NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
    }

    onShownChanged: {
        if (shown && initialFocus)
            initialFocus.forceActiveFocus()
    }

    Keys.onEscapePressed: dialog.cancelled()

    Rectangle {
        anchors.fill: parent
        color: Theme.backdrop

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
    }

    Rectangle {
        id: card
        anchors.centerIn: parent
        width: Math.min(320, dialog.width - 24)
        height: column.implicitHeight + 40
        radius: 14
        color: Theme.dialogSurface
        border.width: 0.5
        border.color: Theme.panelBorder

        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            color: Theme.panelTint
        }

        ColumnLayout {
            id: column
            x: 20
            y: 20
            width: card.width - 40
            spacing: 10

            Text {
                text: dialog.title
                color: Theme.text
                font.pixelSize: 16
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }

            Text {
                text: dialog.explanation
                color: Theme.muted
                font.pixelSize: 12
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }

            ColumnLayout {
                id: slot
                spacing: 8
                Layout.fillWidth: true
                Layout.topMargin: 4
            }
        }
    }
}
