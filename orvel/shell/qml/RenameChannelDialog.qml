// Renames a channel: a field for the display name and "Save", which is
// enabled only while the name is acceptable (`canSave`, decided by the view
// model). The field shows `draft` and reports each edit.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

ChannelDialog {
    id: dialog
    property string draft
    property bool canSave: false
    signal draftEdited(string text)
    signal saved()

    explanation: qsTr("This human-readable name will appear on every paired device. The channel ID will not change.")
    initialFocus: field

    TextField {
        id: field
        objectName: "displayNameField"
        text: dialog.draft
        placeholderText: qsTr("Display name")
        placeholderTextColor: Theme.faint
        color: Theme.text
        selectionColor: Theme.blue
        font.pixelSize: 13
        leftPadding: 8
        rightPadding: 8
        Layout.fillWidth: true
        Accessible.name: qsTr("Display name")
        onTextEdited: dialog.draftEdited(text)
        onAccepted: if (dialog.canSave) dialog.saved()
        background: Rectangle {
            implicitHeight: 30
            radius: 7
            color: Theme.control
            border.width: field.activeFocus ? 1.5 : 0.5
            border.color: field.activeFocus ? Theme.blue : Theme.controlBorder
        }
    }

    RowLayout {
        spacing: 8
        Layout.fillWidth: true
        Layout.topMargin: 4

        Item { Layout.fillWidth: true }

        GlassButton {
            text: qsTr("Cancel")
            fill: true
            onClicked: dialog.cancelled()
        }

        GlassButton {
            objectName: "saveButton"
            text: qsTr("Save")
            fill: true
            prominent: true
            enabled: dialog.canSave
            onClicked: dialog.saved()
        }
    }
}
