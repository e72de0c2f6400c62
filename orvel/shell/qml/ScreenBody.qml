// The current destination's screen. Every destination is a placeholder that
// names itself until its screen arrives.
import QtQuick

Item {
    id: body

    PlaceholderScreen {
        anchors.fill: parent
        name: model.currentScreenName
        detail: model.currentId
    }
}
