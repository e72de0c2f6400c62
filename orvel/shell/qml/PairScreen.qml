// A short code that joins a phone or the web to this account, the time it
// has left, and a button that opens the web app with it.
import QtQuick
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property PairScreenModel pair

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 320)
        spacing: 12

        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Read it everywhere")
            color: Theme.text
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }

        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Enter this code on your phone or the web. Whatever you read on one, clears on all.")
            color: Theme.muted
            font.pixelSize: 13
            wrapMode: Text.Wrap
        }

        TextEdit {
            objectName: "pairingCode"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 8
            text: screen.pair.code
            readOnly: true
            selectByMouse: screen.pair.state === PairScreenModel.Showing
            color: screen.pair.state === PairScreenModel.Showing ? Theme.text : Theme.faint
            selectionColor: Theme.blue
            font.family: "monospace"
            font.pixelSize: 30
            font.weight: Font.DemiBold
            Accessible.role: Accessible.StaticText
            Accessible.name: qsTr("Pairing code %1").arg(screen.pair.code)
        }

        Text {
            objectName: "expiry"
            visible: screen.pair.expiryText.length > 0
            Layout.alignment: Qt.AlignHCenter
            text: screen.pair.expiryText
            color: Theme.muted
            font.pixelSize: 11
        }

        Text {
            objectName: "pairError"
            visible: screen.pair.errorText.length > 0
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: screen.pair.errorText
            color: Theme.red
            font.pixelSize: 12
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 6
            spacing: 8

            GlassButton {
                objectName: "openWeb"
                fill: true
                prominent: true
                focus: true
                focusPolicy: Qt.StrongFocus
                enabled: screen.pair.canOpenWeb
                opacity: enabled ? 1 : 0.45
                symbol: "arrow.up.forward.app"
                text: qsTr("Open web")
                onClicked: screen.pair.openWeb()
            }

            GlassButton {
                objectName: "newCode"
                visible: screen.pair.canRenew
                fill: true
                focusPolicy: Qt.StrongFocus
                symbol: "arrow.clockwise"
                text: screen.pair.state === PairScreenModel.Expired ? qsTr("New code") : qsTr("Try again")
                onClicked: screen.pair.renew()
            }
        }
    }
}
