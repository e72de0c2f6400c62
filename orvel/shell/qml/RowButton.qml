// A full-width row that opens something: takes focus, walks to the next or
// previous row with the arrow keys (Tab also reaches the buttons between),
// opens with Enter or Space, and shows hover and focus with the selection
// colour.
import QtQuick
import QtQuick.Controls
import Orvel

AbstractButton {
    id: row
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button

    Keys.onReturnPressed: row.clicked()
    Keys.onEnterPressed: row.clicked()
    Keys.onDownPressed: row.walk(true)
    Keys.onUpPressed: row.walk(false)

    // Marks the items the arrow keys stop at.
    readonly property bool isRow: true

    function walk(forward: bool) {
        let item = row.nextItemInFocusChain(forward)
        while (item && item !== row) {
            if (item.isRow === true) {
                item.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
                return
            }
            item = item.nextItemInFocusChain(forward)
        }
    }

    background: Rectangle {
        radius: 9
        color: row.hovered || row.visualFocus || row.activeFocus ? Theme.selection : "transparent"
        opacity: row.pressed ? 0.65 : 1
    }
}
