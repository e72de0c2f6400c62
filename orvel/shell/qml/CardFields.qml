// A card's values in its layout: the metric layout (the primary value large,
// its label below, then the other fields) or the labelled-value layout (every
// field as a row of label and value, separated by hairlines).
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Orvel

ColumnLayout {
    id: card
    property bool metric: false
    property string primaryDisplay
    property string primaryLabel
    // {label, display} each.
    property var fields: []
    spacing: 12

    ColumnLayout {
        visible: card.metric
        spacing: 0
        Layout.fillWidth: true

        Text {
            text: card.primaryDisplay
            color: Theme.text
            font.pixelSize: 34
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Text {
            text: card.primaryLabel
            color: Theme.muted
            font.pixelSize: 12
        }
    }

    Repeater {
        model: card.fields
        delegate: ColumnLayout {
            id: field
            required property var modelData
            required property int index
            spacing: 6
            Layout.fillWidth: true

            Rectangle {
                visible: field.index > 0 || card.metric
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
                    Layout.maximumWidth: card.width * 0.6
                }
            }
        }
    }
}
