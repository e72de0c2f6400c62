// A symbol (see Symbols) drawn in a colour.
import QtQuick
import Orvel

Image {
    property string symbol
    property color tint: Theme.muted
    property real size: 15

    function hex(c) {
        const part = v => ("0" + Math.round(v * 255).toString(16)).slice(-2)
        return part(c.a) + part(c.r) + part(c.g) + part(c.b)
    }

    width: size
    height: size
    sourceSize.width: Math.ceil(size * 2)
    sourceSize.height: Math.ceil(size * 2)
    source: symbol.length > 0 ? "image://symbol/" + symbol + "?color=" + hex(tint) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
