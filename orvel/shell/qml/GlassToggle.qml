// A setting that is on or off: title and optional subtitle, then a capsule
// track, green when on, with a white knob on the side of the state. The
// value is not its own: `checked` shows what the model holds and a click
// asks for the other one through `toggled`.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

AbstractButton {
    id: toggle
    property string subtitle
    // `checked` is bound from outside; the button never changes it itself.
    signal toggled(bool on)

    checkable: false
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    implicitHeight: Math.max(implicitContentHeight + 16, 40)
    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.description: subtitle
    Accessible.checkable: true
    Accessible.checked: checked
    onClicked: toggle.toggled(!toggle.checked)

    contentItem: RowLayout {
        spacing: 10

        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true

            Text {
                text: toggle.text
                color: Theme.text
                font.pixelSize: 13
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }

            Text {
                visible: toggle.subtitle.length > 0
                text: toggle.subtitle
                color: Theme.muted
                font.pixelSize: 11
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
        }

        // The track, and on it the knob with its shadow.
        Rectangle {
            implicitWidth: 38
            implicitHeight: 22
            radius: height / 2
            color: toggle.checked ? Theme.green : Theme.control
            border.width: 0.5
            border.color: Theme.controlBorder
            opacity: toggle.pressed ? 0.65 : 1

            Behavior on color {
                enabled: !Theme.reduceMotion
                ColorAnimation { duration: 120 }
            }

            Item {
                width: 18
                height: 18
                y: (parent.height - height) / 2
                x: toggle.checked ? parent.width - width - 2 : 2

                Behavior on x {
                    enabled: !Theme.reduceMotion
                    NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
                }

                Rectangle {
                    y: 1
                    width: parent.width
                    height: parent.height
                    radius: width / 2
                    color: Theme.knobShadow
                }

                Rectangle {
                    anchors.fill: parent
                    radius: width / 2
                    color: Theme.knob
                }
            }
        }
    }

    background: Rectangle {
        radius: 9
        color: toggle.visualFocus ? Theme.selection : "transparent"
    }
}
