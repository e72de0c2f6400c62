// A full-width row that opens something: takes focus, walks to the next or
// previous focusable item with the arrow keys, opens with Enter or Space, and
// shows hover and focus with the selection colour.
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
    Keys.onDownPressed: row.nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
    Keys.onUpPressed: row.nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)

    background: Rectangle {
        radius: 9
        color: row.hovered || row.visualFocus || row.activeFocus ? Theme.selection : "transparent"
        opacity: row.pressed ? 0.65 : 1
    }
}
