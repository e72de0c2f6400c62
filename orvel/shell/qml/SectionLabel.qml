// A section's title in capitals, with optional trailing text.
import QtQuick
import QtQuick.Layouts

RowLayout {
    property string text
    property string trailing
    spacing: 6

    Text {
        text: parent.text.toUpperCase()
        color: theme.muted
        font.pixelSize: 11
        font.weight: Font.DemiBold
        font.letterSpacing: 0.7
        Layout.fillWidth: true
    }

    Text {
        visible: trailing.length > 0
        text: trailing
        color: theme.faint
        font.pixelSize: 11
    }
}
