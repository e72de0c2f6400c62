// A symbol (see Symbols) drawn in a colour, `size` points square (also in
// layouts, which size items by their implicit size).
import QtQuick
import Orvel

Item {
    id: symbolImage
    property string symbol
    property color tint: Theme.muted
    property real size: 15

    function hex(c) {
        const part = v => ("0" + Math.round(v * 255).toString(16)).slice(-2)
        return part(c.a) + part(c.r) + part(c.g) + part(c.b)
    }

    implicitWidth: size
    implicitHeight: size

    Image {
        anchors.fill: parent
        sourceSize.width: Math.ceil(symbolImage.size * 2)
        sourceSize.height: Math.ceil(symbolImage.size * 2)
        source: symbolImage.symbol.length > 0
                ? "image://symbol/" + symbolImage.symbol + "?color=" + symbolImage.hex(symbolImage.tint)
                : ""
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
}
