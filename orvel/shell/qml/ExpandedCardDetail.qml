// The sheet of one persistent card in the activity window: the card with all
// its fields in its layout, and "Done". Escape closes it.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Popup {
    id: sheet
    required property ExpandedActivityModel activity
    readonly property var card: sheet.activity.sheetCard

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    anchors.centerIn: parent
    width: Math.min(520, (parent ? parent.width : 640) - 80)
    height: Math.min(column.implicitHeight + 48, (parent ? parent.height : 640) - 80)
    padding: 24
    onClosed: sheet.activity.closeSheet()

    Connections {
        target: sheet.activity
        function onSheetChanged() {
            if (sheet.activity.cardSheetShown)
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
                spacing: 6
                Layout.fillWidth: true

                ColumnLayout {
                    spacing: 2
                    Layout.fillWidth: true

                    Text {
                        text: sheet.card.title ?? ""
                        color: Theme.text
                        font.pixelSize: 18
                        font.weight: Font.DemiBold
                        wrapMode: Text.Wrap
                        Layout.fillWidth: true
                    }

                    Text {
                        text: sheet.card.channel ?? ""
                        color: Theme.muted
                        font.pixelSize: 11
                    }
                }

                SymbolImage {
                    visible: sheet.card.pinned === true
                    symbol: "pin.fill"
                    size: 13
                    tint: Theme.muted
                    Layout.alignment: Qt.AlignTop
                }
            }

            CardFields {
                metric: sheet.card.metric === true
                primaryDisplay: sheet.card.primaryDisplay ?? ""
                primaryLabel: sheet.card.primaryLabel ?? ""
                fields: sheet.card.fields ?? []
                Layout.fillWidth: true
            }

            Text {
                text: sheet.card.footer ?? ""
                color: Theme.faint
                font.pixelSize: 11
            }

            GlassButton {
                id: doneButton
                objectName: "cardDoneButton"
                fill: true
                focusPolicy: Qt.StrongFocus
                text: qsTr("Done")
                Layout.alignment: Qt.AlignRight
                onClicked: sheet.close()
            }
        }
    }
}
