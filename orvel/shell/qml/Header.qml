// The header bar: back button and title on a pushed screen, the brand mark and
// the inbox's buttons otherwise. What shows comes from the model.
import QtQuick
import QtQuick.Layouts

Item {
    id: header
    implicitHeight: 48

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 6

        IconButton {
            visible: model.headerShowsBack
            system: "chevron.backward"
            label: "Back"
            size: 15
            onClicked: model.performHeaderAction(0)
        }

        BrandMark {
            visible: model.headerShowsBrandMark
            needsYou: model.headerBrandNeedsYou
        }

        Text {
            visible: model.headerTitle.length > 0
            text: model.headerTitle
            color: theme.text
            font.pixelSize: 14
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Item {
            visible: model.headerTitle.length === 0
            Layout.fillWidth: true
        }

        Repeater {
            model: header.trailing
            delegate: IconButton {
                required property var modelData
                system: modelData.symbol
                label: modelData.label
                size: modelData.size
                onClicked: header.perform(modelData.action)
            }
        }
    }

    // The context property "model" is shadowed inside the Repeater.
    readonly property var trailing: model.headerTrailing
    function perform(action) { model.performHeaderAction(action) }
}
