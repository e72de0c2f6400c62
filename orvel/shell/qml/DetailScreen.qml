// One update in full: status, sender and age, what it reported (Markdown),
// the approval hint, its first web link and, while it is in Your Attention,
// "Done". Showing it marks nothing read.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property DetailScreenModel detail

    Text {
        visible: !screen.detail.available
        anchors.centerIn: parent
        text: qsTr("This update is no longer here.")
        color: Theme.muted
        font.pixelSize: 13
    }

    Flickable {
        id: flick
        visible: screen.detail.available
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.implicitHeight + 32
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            x: 16
            y: 16
            width: flick.width - 32
            spacing: 14

            RowLayout {
                spacing: 8
                Layout.fillWidth: true

                StatusDotView {
                    dot: screen.detail.dot
                    Accessible.role: Accessible.Indicator
                    Accessible.name: screen.detail.dot
                }

                Text {
                    text: screen.detail.sender
                    color: Theme.text
                    font.pixelSize: 14
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }

                StatusBadge {
                    visible: screen.detail.waitingOnYou
                    text: qsTr("Waiting on you")
                    tone: Theme.gold
                }
            }

            Text {
                text: screen.detail.age
                color: Theme.faint
                font.pixelSize: 11
            }

            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true

                SectionLabel {
                    text: screen.detail.reportedTitle
                    Layout.fillWidth: true
                }

                MarkdownText {
                    visible: screen.detail.body.length > 0
                    markdown: screen.detail.body
                    Layout.fillWidth: true
                }

                Text {
                    visible: screen.detail.body.length === 0
                    text: screen.detail.plainText
                    color: Theme.text
                    font.pixelSize: 13
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }

                MarkdownText {
                    visible: screen.detail.details.length > 0
                    markdown: screen.detail.details
                    color: Theme.muted
                    font.pixelSize: 13
                    Layout.fillWidth: true
                }
            }

            Text {
                text: screen.detail.hint
                color: Theme.muted
                font.pixelSize: 12
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }

            RowLayout {
                spacing: 8

                GlassButton {
                    objectName: "linkButton"
                    visible: screen.detail.hasLink
                    fill: true
                    symbol: "arrow.up.forward.app"
                    text: screen.detail.linkLabel
                    onClicked: SafeMarkdown.openLink(screen.detail.linkUrl)
                }

                GlassButton {
                    objectName: "doneButton"
                    visible: screen.detail.showsDone
                    fill: true
                    prominent: true
                    symbol: "checkmark"
                    text: qsTr("Done")
                    hoverEnabled: true
                    ToolTip.visible: hovered
                    ToolTip.delay: 600
                    ToolTip.text: qsTr("Clears this from Your Attention. The update stays in Updates.")
                    Accessible.description: ToolTip.text
                    onClicked: screen.detail.complete()
                }
            }
        }
    }
}
