// A destination whose screen is not built yet: its name, centred.
import QtQuick
import QtQuick.Layouts

Item {
    property string name
    property string detail

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 6

        Text {
            Layout.alignment: Qt.AlignHCenter
            text: name
            color: theme.text
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }

        Text {
            Layout.alignment: Qt.AlignHCenter
            visible: detail.length > 0
            text: detail
            color: theme.muted
            font.pixelSize: 12
        }
    }
}
