// The header bar: back button and title on a pushed screen, the brand mark and
// the inbox's buttons otherwise. What shows comes from the model.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: header
    required property ModelBridge bridge
    implicitHeight: 48

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 6

        IconButton {
            visible: header.bridge.headerShowsBack
            system: "chevron.backward"
            label: "Back"
            size: 15
            onClicked: header.bridge.performHeaderAction(ModelBridge.Back)
        }

        BrandMark {
            visible: header.bridge.headerShowsBrandMark
            needsYou: header.bridge.headerBrandNeedsYou
        }

        Text {
            visible: header.bridge.headerTitle.length > 0
            text: header.bridge.headerTitle
            color: Theme.text
            font.pixelSize: 14
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Item {
            visible: header.bridge.headerTitle.length === 0
            Layout.fillWidth: true
        }

        Repeater {
            model: header.bridge.headerTrailing
            delegate: IconButton {
                required property var modelData
                system: modelData.symbol
                label: modelData.label
                size: modelData.size
                onClicked: header.bridge.performHeaderAction(modelData.action)
            }
        }
    }

}
