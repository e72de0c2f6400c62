// A section's title in capitals, with optional trailing text.
import QtQuick
import QtQuick.Layouts
import Orvel

RowLayout {
    id: section
    property string text
    property string trailing
    spacing: 6

    Text {
        text: section.text.toUpperCase()
        color: Theme.muted
        font.pixelSize: 11
        font.weight: Font.DemiBold
        font.letterSpacing: 0.7
        Layout.fillWidth: true
    }

    Text {
        visible: section.trailing.length > 0
        text: section.trailing
        color: Theme.faint
        font.pixelSize: 11
    }
}
