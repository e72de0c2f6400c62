// One persistent card at full size: title, channel and age, the pin button,
// the metric layout (the primary value large) or the labelled values, and
// the renderer that drew it.
pragma ComponentBehavior: Bound
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

                ColumnLayout {
                    visible: screen.card.metric
                    spacing: 0
                    Layout.fillWidth: true

                    Text {
                        text: screen.card.primaryDisplay
                        color: Theme.text
                        font.pixelSize: 34
                        font.weight: Font.DemiBold
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }

                    Text {
                        text: screen.card.primaryLabel
                        color: Theme.muted
                        font.pixelSize: 12
                    }
                }

                Repeater {
                    model: screen.card.fields
                    delegate: ColumnLayout {
                        id: field
                        required property var modelData
                        required property int index
                        spacing: 6
                        Layout.fillWidth: true

                        Rectangle {
                            visible: field.index > 0 || screen.card.metric
                            implicitHeight: 0.5
                            color: Theme.separator
                            Layout.fillWidth: true
                        }

                        RowLayout {
                            spacing: 8
                            Layout.fillWidth: true

                            Text {
                                text: field.modelData.label
                                color: Theme.muted
                                font.pixelSize: 12
                                Layout.fillWidth: true
                            }

                            Text {
                                text: field.modelData.display
                                color: Theme.text
                                font.pixelSize: 13
                                font.weight: Font.Medium
                                horizontalAlignment: Text.AlignRight
                                wrapMode: Text.Wrap
                                Layout.maximumWidth: column.width * 0.6
                            }
                        }
                    }
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
