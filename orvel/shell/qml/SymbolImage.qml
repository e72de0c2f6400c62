// A symbol (see Symbols) drawn in a colour.
import QtQuick

Image {
    property string symbol
    property color tint: theme.muted
    property real size: 15

    function hex(c) {
        const part = v => ("0" + Math.round(v * 255).toString(16)).slice(-2)
        return part(c.a) + part(c.r) + part(c.g) + part(c.b)
    }

    width: size
    height: size
    sourceSize: Qt.size(Math.ceil(size * 2), Math.ceil(size * 2))
    source: symbol.length > 0 ? "image://symbol/" + symbol + "?color=" + hex(tint) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
