// The panel's content: the window material, the header and the current screen,
// with the specular edge on top. Tells the model when it shows and hides.
import QtQuick
import QtQuick.Layouts

Item {
    id: root
    implicitWidth: 420
    implicitHeight: 640

    readonly property bool shown: Window.window !== null && Window.window.visible
    onShownChanged: shown ? model.rootViewAppeared() : model.rootViewDisappeared()

    Connections {
        target: Qt.application
        function onStateChanged() {
            if (Qt.application.state === Qt.ApplicationActive && root.shown)
                model.applicationBecameActive()
        }
    }

    VisualEffect {
        anchors.fill: parent
        radius: 14
    }

    Rectangle {
        anchors.fill: parent
        radius: 14
        color: theme.panelTint
        border.width: 0.5
        border.color: theme.panelBorder
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Header {
            Layout.fillWidth: true
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: theme.separator
        }

        ScreenBody {
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }

    SpecularEdge {
        anchors.fill: parent
        radius: 14
    }
}
