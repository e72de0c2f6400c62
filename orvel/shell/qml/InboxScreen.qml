// The panel's home: banners, then either the empty state or the briefing
// (header, counts, cards, Your attention or the all-clear card, What changed,
// On your radar) and the link to every update.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Orvel

Flickable {
    id: inbox
    required property ModelBridge bridge
    required property InboxScreenModel screen

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + 28
    boundsBehavior: contentHeight > height ? Flickable.DragAndOvershootBounds
                                           : Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {
        policy: inbox.contentHeight > inbox.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
    }

    // Walking the rows with the keyboard scrolls the focused one into view.
    readonly property Item focusedItem: Window.activeFocusItem
    onFocusedItemChanged: {
        let item = inbox.focusedItem
        while (item && item !== column)
            item = item.parent
        if (!item)
            return
        const top = inbox.focusedItem.mapToItem(column, 0, 0).y + column.y
        const bottom = top + inbox.focusedItem.height
        if (top - 14 < inbox.contentY)
            inbox.contentY = Math.max(0, top - 14)
        else if (bottom + 14 > inbox.contentY + inbox.height)
            inbox.contentY = Math.min(inbox.contentHeight - inbox.height, bottom + 14 - inbox.height)
    }

    ColumnLayout {
        id: column
        x: 14
        y: 14
        width: inbox.width - 28
        spacing: 14

        GlassPanel {
            objectName: "developmentBanner"
            visible: inbox.screen.showingDevelopmentData
            Layout.fillWidth: true
            radius: 9
            implicitHeight: devRow.implicitHeight + 12
            RowLayout {
                id: devRow
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.rightMargin: 6
                spacing: 6
                SymbolImage {
                    symbol: "hammer"
                    size: 11
                    tint: Theme.muted
                }
                Text {
                    Layout.fillWidth: true
                    text: qsTr("Development data")
                    color: Theme.muted
                    font.pixelSize: 11
                    font.weight: Font.Medium
                }
                GlassButton {
                    objectName: "hideDevelopmentData"
                    text: qsTr("Hide")
                    focusPolicy: Qt.StrongFocus
                    Accessible.name: qsTr("Hide development data")
                    onClicked: inbox.screen.hideDevelopmentData()
                }
            }
        }

        GlassPanel {
            objectName: "errorBanner"
            visible: inbox.screen.errorText.length > 0
            Layout.fillWidth: true
            radius: 9
            implicitHeight: errorRow.implicitHeight + 16
            RowLayout {
                id: errorRow
                anchors.fill: parent
                anchors.margins: 8
                spacing: 6
                SymbolImage {
                    Layout.alignment: Qt.AlignTop
                    symbol: "exclamationmark.triangle"
                    size: 12
                    tint: Theme.red
                }
                Text {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    text: inbox.screen.errorText
                    color: Theme.text
                    font.pixelSize: 12
                    wrapMode: Text.Wrap
                    maximumLineCount: 3
                    elide: Text.ElideRight
                }
            }
        }

        ColumnLayout {
            objectName: "emptyState"
            visible: inbox.screen.empty
            Layout.fillWidth: true
            Layout.leftMargin: 18
            Layout.rightMargin: 18
            Layout.topMargin: 48
            Layout.bottomMargin: 48
            spacing: 12

            Text {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("No updates yet")
                color: Theme.text
                font.pixelSize: 17
                font.weight: Font.DemiBold
            }
            Text {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("Create a channel, paste its instructions to your agent, and the first update will appear here.")
                color: Theme.muted
                font.pixelSize: 13
                wrapMode: Text.Wrap
            }
            GlassButton {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Create a channel")
                fill: true
                prominent: true
                focusPolicy: Qt.StrongFocus
                Accessible.name: text
                onClicked: inbox.bridge.open(ModelBridge.Engage)
            }
        }

        ColumnLayout {
            objectName: "briefing"
            visible: !inbox.screen.empty
            Layout.fillWidth: true
            spacing: 14

            BriefingHeader {
                Layout.fillWidth: true
                screen: inbox.screen
            }

            BriefingCounts {
                screen: inbox.screen
            }

            PersistentCardsRail {
                objectName: "cardsRail"
                visible: inbox.screen.cards.count > 0
                Layout.fillWidth: true
                cards: inbox.screen.cards
                onOpenCard: cardId => inbox.bridge.open(ModelBridge.Card, cardId)
            }

            ColumnLayout {
                visible: inbox.screen.attentionCount > 0
                Layout.fillWidth: true
                spacing: 8
                SectionLabel {
                    Layout.fillWidth: true
                    text: qsTr("Your attention")
                    trailing: inbox.screen.attentionCount
                }
                Repeater {
                    objectName: "attentionRows"
                    model: inbox.screen.attentionRows
                    delegate: AttentionRow {
                        onClicked: inbox.bridge.open(ModelBridge.Detail, rowId)
                        onDismissRequested: inbox.screen.dismiss(rowId)
                    }
                }
            }

            AllClearCard {
                objectName: "allClear"
                visible: inbox.screen.attentionCount === 0
                Layout.fillWidth: true
                text: inbox.screen.allClearText
            }

            ColumnLayout {
                visible: inbox.screen.transitions.count > 0
                Layout.fillWidth: true
                spacing: 8
                SectionLabel {
                    Layout.fillWidth: true
                    text: qsTr("What changed")
                    trailing: inbox.screen.scopePhrase
                }
                Repeater {
                    model: inbox.screen.transitions
                    delegate: TransitionRow {
                        onClicked: inbox.bridge.open(ModelBridge.Detail, rowId)
                    }
                }
            }

            ColumnLayout {
                visible: inbox.screen.radarRows.count > 0
                Layout.fillWidth: true
                spacing: 8
                SectionLabel {
                    Layout.fillWidth: true
                    text: qsTr("On your radar")
                }
                Repeater {
                    model: inbox.screen.radarRows
                    delegate: RadarRow {
                        onClicked: inbox.bridge.open(ModelBridge.Detail, rowId)
                    }
                }
            }

            UpdatesLink {
                objectName: "updatesLink"
                detail: inbox.screen.updatesDetail
                onClicked: inbox.bridge.open(ModelBridge.Updates)
            }
        }
    }
}
