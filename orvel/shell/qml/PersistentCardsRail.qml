// "Cards": one tile per card in a horizontal row; a tile opens its card.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

ColumnLayout {
    id: rail
    required property CardTileListModel cards
    signal openCard(string cardId)
    spacing: 8

    SectionLabel {
        Layout.fillWidth: true
        text: qsTr("Cards")
    }

    ListView {
        id: tiles
        objectName: "cardTiles"
        Layout.fillWidth: true
        implicitHeight: 76
        orientation: ListView.Horizontal
        spacing: 8
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        keyNavigationEnabled: true
        model: rail.cards

        delegate: AbstractButton {
            id: tile
            required property int index
            required property string cardId
            required property string title
            required property bool pinned
            required property string fieldLabel
            required property string value
            required property string valueColor

            width: 132
            height: 76
            hoverEnabled: true
            focusPolicy: Qt.StrongFocus
            Accessible.name: tile.title + ", " + tile.fieldLabel + " " + tile.value
            Keys.onReturnPressed: tile.clicked()
            onClicked: rail.openCard(tile.cardId)
            opacity: tile.pressed ? 0.65 : 1

            background: GlassPanel {
                radius: 12
                tint: true
                color: tile.hovered || tile.activeFocus ? Theme.selection : Theme.panelTint
            }

            contentItem: ColumnLayout {
                spacing: 2
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 4
                    SymbolImage {
                        visible: tile.pinned
                        symbol: "pin.fill"
                        size: 10
                        tint: Theme.muted
                    }
                    Text {
                        Layout.fillWidth: true
                        text: tile.title
                        color: Theme.muted
                        font.pixelSize: 11
                        font.weight: Font.Medium
                        elide: Text.ElideRight
                    }
                }
                Item { Layout.fillHeight: true }
                Text {
                    Layout.fillWidth: true
                    text: tile.value
                    color: Theme.colors[tile.valueColor]
                    font.pixelSize: 17
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                }
                Text {
                    Layout.fillWidth: true
                    text: tile.fieldLabel
                    color: Theme.faint
                    font.pixelSize: 10
                    elide: Text.ElideRight
                }
            }
            leftPadding: 10
            rightPadding: 10
            topPadding: 8
            bottomPadding: 8
        }
    }
}
