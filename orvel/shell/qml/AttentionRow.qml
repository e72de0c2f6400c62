// An update that waits for a decision: its dot, the kicker, who and when, the
// summary, and a "More actions" menu to remove it from Your Attention.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

RowButton {
    id: row
    required property string rowId
    required property string agent
    required property string summary
    required property string age
    required property string dot
    required property string statusLabel
    signal dismissRequested()

    Layout.fillWidth: true
    readonly property string kicker: row.dot === "failed" ? qsTr("Needs a look")
                                                          : qsTr("Decision requested")
    Accessible.name: row.kicker + ", " + row.agent + ", " + row.summary
    padding: 8
    rightPadding: 40

    contentItem: RowLayout {
        spacing: 9

        StatusDotView {
            Layout.alignment: Qt.AlignTop
            Layout.topMargin: 4
            dot: row.dot
            size: 8
            Accessible.role: Accessible.Indicator
            Accessible.name: row.statusLabel
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Text {
                text: row.kicker
                color: Theme.colors[Theme.statusColorName(row.dot)]
                font.pixelSize: 11
                font.weight: Font.DemiBold
            }
            Text {
                Layout.fillWidth: true
                text: row.age.length > 0 ? row.agent + " · " + row.age : row.agent
                color: Theme.muted
                font.pixelSize: 12
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                text: row.summary
                color: Theme.text
                font.pixelSize: 13
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }
    }

    AbstractButton {
        id: more
        objectName: "moreActions"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 6
        implicitWidth: 28
        implicitHeight: 28
        hoverEnabled: true
        focusPolicy: Qt.StrongFocus
        opacity: row.hovered || more.hovered || more.activeFocus ? 1 : 0.3
        Accessible.name: qsTr("More actions for ") + row.agent
        ToolTip.visible: more.hovered
        ToolTip.text: qsTr("More actions")
        ToolTip.delay: 600
        Keys.onReturnPressed: more.clicked()
        onClicked: menu.popup(more, 0, more.height)

        contentItem: Item {
            SymbolImage {
                anchors.centerIn: parent
                symbol: "ellipsis"
                size: 11
                tint: Theme.muted
            }
        }

        Menu {
            id: menu
            objectName: "moreActionsMenu"
            MenuItem {
                objectName: "removeFromAttention"
                text: qsTr("Remove from Your Attention")
                onTriggered: row.dismissRequested()
            }
        }
    }
}
