// A destination whose screen is not built yet: its name, centred.
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: placeholder
    property string name
    property string detail

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 6

        Text {
            Layout.alignment: Qt.AlignHCenter
            text: placeholder.name
            color: Theme.text
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }

        Text {
            Layout.alignment: Qt.AlignHCenter
            visible: placeholder.detail.length > 0
            text: placeholder.detail
            color: Theme.muted
            font.pixelSize: 12
        }
    }
}
