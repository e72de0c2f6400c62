// The activity window's content for the chosen destination: its heading and
// caption, the day's summary metrics (kept in view), then the rows (the day's needs-you group
// first) or the dashboard cards, or the empty state. The rows are a list
// whose delegates exist only for what is in view; the arrow keys move the
// current row and Enter opens it.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: pane
    required property ExpandedActivityModel activity
    readonly property bool showsCards: pane.activity.destination === ExpandedActivityModel.Cards

    // Gives the keyboard to the pane's content.
    function takeFocus() {
        if (pane.showsCards)
            cardsFlick.forceActiveFocus()
        else
            list.forceActiveFocus()
    }

    component Heading: ColumnLayout {
        id: heading
        required property ExpandedActivityModel activity
        spacing: 4

        Text {
            text: heading.activity.heading
            color: Theme.text
            font.pixelSize: 20
            font.weight: Font.DemiBold
        }

        Text {
            visible: text.length > 0
            text: heading.activity.caption
            color: Theme.muted
            font.pixelSize: 12
        }

        // Updates, Need you, Completed, Running, with dividers between.
        GlassPanel {
            visible: heading.activity.showsMetrics
            radius: 11
            tint: true
            implicitHeight: metricsRow.implicitHeight + 20
            Layout.fillWidth: true
            Layout.topMargin: 10

            RowLayout {
                id: metricsRow
                anchors.fill: parent
                anchors.margins: 10
                spacing: 0

                Repeater {
                    model: heading.activity.metrics
                    delegate: Item {
                        id: metric
                        required property var modelData
                        required property int index
                        implicitHeight: figures.implicitHeight
                        // Equal shares of the row.
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        Accessible.role: Accessible.StaticText
                        Accessible.name: metric.modelData.label + ": " + metric.modelData.value

                        Rectangle {
                            visible: metric.index > 0
                            width: 0.5
                            height: parent.height
                            color: Theme.separator
                        }

                        Column {
                            id: figures
                            anchors.horizontalCenter: parent.horizontalCenter
                            spacing: 2

                            Text {
                                anchors.horizontalCenter: parent.horizontalCenter
                                text: metric.modelData.value
                                color: Theme.text
                                font.pixelSize: 22
                                font.weight: Font.DemiBold
                            }

                            Text {
                                anchors.horizontalCenter: parent.horizontalCenter
                                text: metric.modelData.label
                                color: Theme.muted
                                font.pixelSize: 11
                            }
                        }
                    }
                }
            }
        }

        Item {
            implicitHeight: 6
        }
    }

    Heading {
        id: listHeading
        visible: !pane.showsCards
        activity: pane.activity
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 20
    }

    ListView {
        id: list
        objectName: "activityRows"
        visible: !pane.showsCards
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: listHeading.bottom
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 20
        clip: true
        focus: !pane.showsCards
        activeFocusOnTab: true
        model: pane.activity.rows
        keyNavigationEnabled: true
        highlightFollowsCurrentItem: false
        boundsBehavior: Flickable.StopAtBounds
        reuseItems: true
        ScrollBar.vertical: ScrollBar {}
        Accessible.role: Accessible.List
        Accessible.name: pane.activity.heading

        Keys.onReturnPressed: pane.activity.openUpdate(list.currentIndex)
        Keys.onEnterPressed: pane.activity.openUpdate(list.currentIndex)

        delegate: ActivityRow {
            width: list.width
            showsGroups: pane.activity.destination === ExpandedActivityModel.Day
            current: ListView.isCurrentItem && list.activeFocus
            onClicked: {
                list.currentIndex = index
                pane.activity.openUpdate(index)
            }
        }
    }

    Flickable {
        id: cardsFlick
        visible: pane.showsCards
        anchors.fill: parent
        anchors.margins: 20
        contentWidth: width
        contentHeight: cardsColumn.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: cardsColumn
            width: cardsFlick.width
            spacing: 12

            Heading {
                activity: pane.activity
                Layout.fillWidth: true
            }

            Flow {
                id: flow
                spacing: 12
                Layout.fillWidth: true
                readonly property real cardWidth: {
                    const columns = Math.max(1, Math.floor((flow.width + 12) / 292))
                    return (flow.width - 12 * (columns - 1)) / columns
                }

                Repeater {
                    model: pane.activity.cards
                    delegate: DashboardCard {
                        width: flow.cardWidth
                        onClicked: pane.activity.openCard(cardId)
                    }
                }
            }
        }
    }

    ActivityEmptyState {
        objectName: "emptyState"
        visible: pane.activity.emptyText.length > 0
        anchors.centerIn: parent
        anchors.verticalCenterOffset: 40
        text: pane.activity.emptyText
        symbol: pane.activity.emptySymbol
    }
}
