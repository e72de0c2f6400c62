// One count of the briefing: the number above its label.
import QtQuick
import QtQuick.Layouts
import Orvel

ColumnLayout {
    id: stat
    property int value
    property string label
    property color color: Theme.text
    spacing: 1
    Accessible.role: Accessible.StaticText
    Accessible.name: value + " " + label

    Text {
        text: stat.value
        color: stat.color
        font.pixelSize: 19
        font.weight: Font.DemiBold
    }
    Text {
        text: stat.label
        color: Theme.muted
        font.pixelSize: 11
    }
}
