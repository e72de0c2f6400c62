// "View all updates", with what else is there, on a glass panel.
import QtQuick
import QtQuick.Layouts
import Orvel

RowButton {
    id: link
    property string detail
    Layout.fillWidth: true
    padding: 12
    Accessible.name: qsTr("View all updates") + ", " + link.detail

    background: GlassPanel {
        radius: 12
        tint: true
        color: link.hovered || link.activeFocus ? Theme.selection : Theme.panelTint
        opacity: link.pressed ? 0.65 : 1
    }

    contentItem: RowLayout {
        spacing: 8
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Text {
                text: qsTr("View all updates")
                color: Theme.text
                font.pixelSize: 13
                font.weight: Font.Medium
            }
            Text {
                objectName: "updatesDetail"
                Layout.fillWidth: true
                text: link.detail
                color: Theme.muted
                font.pixelSize: 11
                elide: Text.ElideRight
            }
        }
        SymbolImage {
            symbol: "chevron.right"
            size: 9
            tint: Theme.faint
        }
    }
}
