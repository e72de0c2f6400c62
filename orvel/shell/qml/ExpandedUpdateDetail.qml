// The sheet of one update in the activity window: its status badge, agent,
// summary and age, its text (Markdown, rendered safely) and the links a
// browser may open, "Done" to close it and, while the update needs the user,
// the action that clears it from Needs you. Escape closes it.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Popup {
    id: sheet
    required property ExpandedActivityModel activity

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    anchors.centerIn: parent
    width: Math.min(560, (parent ? parent.width : 640) - 80)
    height: Math.min(column.implicitHeight + 48, (parent ? parent.height : 640) - 80)
    padding: 24
    onClosed: sheet.activity.closeSheet()

    Connections {
        target: sheet.activity
        function onSheetChanged() {
            if (sheet.activity.updateSheetShown)
                sheet.open()
            else
                sheet.close()
        }
    }
    onOpened: doneButton.forceActiveFocus()

    background: Rectangle {
        radius: 14
        // Opaque: the rows behind must not show through.
        color: Qt.rgba(Theme.windowMaterial.r, Theme.windowMaterial.g, Theme.windowMaterial.b, 1)
        border.width: 0.5
        border.color: Theme.panelBorder
    }

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            width: flick.width
            spacing: 12

            RowLayout {
                spacing: 8
                Layout.fillWidth: true

                StatusBadge {
                    text: sheet.activity.updateBadge
                    tone: Theme.statusColor(sheet.activity.updateDot)
                }

                Text {
                    text: sheet.activity.updateAgent
                    color: Theme.text
                    font.pixelSize: 14
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }

                Text {
                    text: sheet.activity.updateAge
                    color: Theme.faint
                    font.pixelSize: 11
                }
            }

            Text {
                text: sheet.activity.updateSummary
                color: Theme.text
                font.pixelSize: 16
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }

            MarkdownText {
                visible: sheet.activity.updateBody.length > 0
                markdown: sheet.activity.updateBody
                Layout.fillWidth: true
            }

            MarkdownText {
                visible: sheet.activity.updateDetails.length > 0
                markdown: sheet.activity.updateDetails
                color: Theme.muted
                Layout.fillWidth: true
            }

            Flow {
                visible: sheet.activity.updateLinks.length > 0
                spacing: 8
                Layout.fillWidth: true

                Repeater {
                    model: sheet.activity.updateLinks
                    delegate: GlassButton {
                        required property var modelData
                        objectName: "link:" + modelData.url
                        fill: true
                        focusPolicy: Qt.StrongFocus
                        symbol: "arrow.up.forward.app"
                        text: modelData.label
                        onClicked: SafeMarkdown.openLink(modelData.url)
                    }
                }
            }

            ColumnLayout {
                visible: sheet.activity.updateNeedsYou
                spacing: 4
                Layout.fillWidth: true
                Layout.topMargin: 4

                GlassButton {
                    objectName: "completeButton"
                    fill: true
                    prominent: true
                    focusPolicy: Qt.StrongFocus
                    symbol: "checkmark.circle"
                    text: qsTr("Clear from Needs you")
                    Accessible.description: completeCaption.text
                    onClicked: sheet.activity.completeAttention()
                }

                Text {
                    id: completeCaption
                    text: qsTr("Clears this from Needs you. The update stays in Activity.")
                    color: Theme.muted
                    font.pixelSize: 11
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }
            }

            GlassButton {
                id: doneButton
                objectName: "doneButton"
                fill: true
                focusPolicy: Qt.StrongFocus
                text: qsTr("Done")
                Layout.alignment: Qt.AlignRight
                onClicked: sheet.close()
            }
        }
    }
}
