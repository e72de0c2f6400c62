// One persistent card at full size: title, channel and age, the pin button,
// the metric layout (the primary value large) or the labelled values, and
// the renderer that drew it.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property PersistentCardScreenModel card

    Text {
        visible: !screen.card.available
        anchors.centerIn: parent
        text: qsTr("This card is no longer available.")
        color: Theme.muted
        font.pixelSize: 13
    }

    Flickable {
        id: flick
        visible: screen.card.available
        anchors.fill: parent
        contentWidth: width
        contentHeight: panel.height + 28
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        GlassPanel {
            id: panel
            x: 14
            y: 14
            width: flick.width - 28
            height: column.implicitHeight + 28
            radius: 11
            tint: true

            ColumnLayout {
                id: column
                x: 14
                y: 14
                width: parent.width - 28
                spacing: 12

                RowLayout {
                    spacing: 8
                    Layout.fillWidth: true

                    ColumnLayout {
                        spacing: 2
                        Layout.fillWidth: true

                        Text {
                            text: screen.card.title
                            color: Theme.text
                            font.pixelSize: 18
                            font.weight: Font.DemiBold
                            wrapMode: Text.Wrap
                            Layout.fillWidth: true
                        }

                        Text {
                            text: screen.card.subtitle
                            color: Theme.muted
                            font.pixelSize: 11
                            elide: Text.ElideRight
                            Layout.fillWidth: true
                        }
                    }

                    GlassButton {
                        objectName: "pinButton"
                        Layout.alignment: Qt.AlignTop
                        fill: true
                        symbol: screen.card.pinSymbol
                        text: screen.card.pinLabel
                        onClicked: screen.card.togglePinned()
                    }
                }

                CardFields {
                    metric: screen.card.metric
                    primaryDisplay: screen.card.primaryDisplay
                    primaryLabel: screen.card.primaryLabel
                    fields: screen.card.fields
                    Layout.fillWidth: true
                }

                Text {
                    text: screen.card.footer
                    color: Theme.faint
                    font.pixelSize: 11
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                    Layout.topMargin: 4
                }
            }
        }
    }
}
