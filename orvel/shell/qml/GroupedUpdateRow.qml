// One update inside a source's group: status dot, summary, age and a chevron.
import QtQuick
import QtQuick.Layouts
import Orvel

RowLayout {
    id: row
    property string dot: "info"
    property string summary
    property string age
    property bool showsTime: true

    spacing: 8

    StatusDotView {
        dot: row.dot
        Accessible.role: Accessible.Indicator
        Accessible.name: row.dot
        size: 7
    }

    Text {
        text: row.summary
        color: Theme.text
        font.pixelSize: 13
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    Text {
        visible: row.showsTime
        text: row.age
        color: Theme.faint
        font.pixelSize: 11
    }

    SymbolImage {
        symbol: "chevron.right"
        size: 8
        tint: Theme.faint
    }
}
