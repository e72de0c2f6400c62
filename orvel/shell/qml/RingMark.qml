// The brand ring: a ring with a gold accent and a centre dot.
import QtQuick
import Orvel

Canvas {
    id: ring
    property real size: 18
    width: size
    height: size
    onPaint: {
        const ctx = getContext("2d")
        ctx.reset()
        const c = size / 2
        const r = size * 0.34
        ctx.lineWidth = size * 0.075
        ctx.strokeStyle = Theme.text
        ctx.beginPath()
        ctx.arc(c, c, r, 0, 2 * Math.PI)
        ctx.stroke()
        ctx.strokeStyle = Theme.gold
        ctx.beginPath()
        ctx.arc(c, c, r, -Math.PI / 2, -Math.PI / 2 + Math.PI / 2.5)
        ctx.stroke()
        ctx.fillStyle = Theme.text
        ctx.beginPath()
        ctx.arc(c, c, size * 0.147, 0, 2 * Math.PI)
        ctx.fill()
    }
    Connections {
        target: Theme
        function onChanged() { ring.requestPaint() }
    }
}
