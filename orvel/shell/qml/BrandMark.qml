// The ring mark, the product name and, when something needs the user, a gold dot.
import QtQuick
import QtQuick.Layouts
import Orvel

RowLayout {
    id: mark
    property bool needsYou: false
    spacing: 6

    RingMark {
        size: 18
    }

    Text {
        text: "Orvel"
        color: Theme.text
        font.pixelSize: 15
        font.weight: Font.DemiBold
    }

    Rectangle {
        visible: mark.needsYou
        width: 6
        height: 6
        radius: 3
        color: Theme.gold
        Layout.alignment: Qt.AlignVCenter
    }
}
