// Settings: the channels this device publishes to, with the owner's dialogs
// and the key a rotation returned; the app's preferences, launch at login and
// updates; pairing, the intro and quitting; the version. Everything it shows
// and does goes through its view model (and the bridge for navigation).
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvel

Item {
    id: screen
    required property ModelBridge bridge
    required property SettingsScreenModel settings

    readonly property bool prompting: screen.settings.prompt !== SettingsScreenModel.NoPrompt

    component Separator: Rectangle {
        implicitHeight: 0.5
        color: Theme.separator
        Layout.fillWidth: true
    }

    Flickable {
        id: flick
        anchors.fill: parent
        enabled: !screen.prompting
        contentWidth: width
        contentHeight: column.implicitHeight + 32
        // Bounces only when there is something to scroll.
        boundsBehavior: contentHeight > height ? Flickable.DragAndOvershootBounds
                                               : Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            x: 16
            y: 16
            width: flick.width - 32
            spacing: 18

            // ---- Channels ------------------------------------------------
            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true

                SectionLabel {
                    text: qsTr("Channels")
                    Layout.fillWidth: true
                }

                GlassPanel {
                    tint: true
                    Layout.fillWidth: true
                    implicitHeight: channelRows.implicitHeight + 8

                    ColumnLayout {
                        id: channelRows
                        x: 12
                        y: 4
                        width: parent.width - 24
                        spacing: 0

                        Text {
                            visible: screen.settings.channels.length === 0
                            text: qsTr("No active or pending channels")
                            color: Theme.muted
                            font.pixelSize: 12
                            Layout.fillWidth: true
                            Layout.topMargin: 10
                            Layout.bottomMargin: 10
                        }

                        Repeater {
                            model: screen.settings.channels
                            delegate: ColumnLayout {
                                id: channelRow
                                required property var modelData
                                required property int index
                                objectName: "channelRow"
                                spacing: 0
                                Layout.fillWidth: true

                                Separator { visible: channelRow.index > 0 }

                                RowLayout {
                                    spacing: 10
                                    Layout.fillWidth: true
                                    Layout.topMargin: 8
                                    Layout.bottomMargin: 8

                                    ChannelActivityDot {
                                        activity: channelRow.modelData.activity
                                    }

                                    ColumnLayout {
                                        spacing: 1
                                        Layout.fillWidth: true

                                        Text {
                                            text: channelRow.modelData.name
                                            color: Theme.text
                                            font.pixelSize: 13
                                            font.weight: Font.Medium
                                            elide: Text.ElideRight
                                            Layout.fillWidth: true
                                        }

                                        Text {
                                            text: channelRow.modelData.detail
                                            color: Theme.muted
                                            font.pixelSize: 11
                                            elide: Text.ElideRight
                                            Layout.fillWidth: true
                                        }
                                    }

                                    IconButton {
                                        id: more
                                        objectName: "channelMore"
                                        visible: channelRow.modelData.owned
                                        system: "ellipsis"
                                        label: qsTr("More actions for %1").arg(channelRow.modelData.name)
                                        size: 13
                                        onClicked: menu.popup(more, more.width - menu.width, more.height)

                                        ChannelActionsMenu {
                                            id: menu
                                            objectName: "channelMenu"
                                            readonly property string channel: channelRow.modelData.channel
                                            onRenameChosen: screen.settings.presentPrompt(SettingsScreenModel.Rename, menu.channel)
                                            onRotateChosen: screen.settings.presentPrompt(SettingsScreenModel.Rotate, menu.channel)
                                            onRetireChosen: screen.settings.presentPrompt(SettingsScreenModel.Retire, menu.channel)
                                        }
                                    }
                                }
                            }
                        }
                    }
                }

                RowLayout {
                    spacing: 6
                    Layout.fillWidth: true

                    GlassButton {
                        objectName: "seeAllChannels"
                        visible: screen.settings.showsAllChannelsLink
                        text: qsTr("See all channels")
                        onClicked: screen.bridge.open(ModelBridge.Channels)
                    }

                    Item { Layout.fillWidth: true }

                    GlassButton {
                        objectName: "createChannel"
                        text: qsTr("Create a channel")
                        symbol: "plus"
                        fill: true
                        onClicked: screen.bridge.open(ModelBridge.Engage)
                    }
                }

                // The key a rotation returned, shown once.
                GlassPanel {
                    objectName: "newKeyPanel"
                    visible: screen.settings.hasRotatedKey
                    tint: true
                    Layout.fillWidth: true
                    implicitHeight: keyColumn.implicitHeight + 24

                    ColumnLayout {
                        id: keyColumn
                        x: 12
                        y: 12
                        width: parent.width - 24
                        spacing: 8

                        Text {
                            text: qsTr("NEW KEY — COPY IT NOW")
                            color: Theme.gold
                            font.pixelSize: 10
                            font.weight: Font.DemiBold
                            font.letterSpacing: 0.7
                        }

                        TextEdit {
                            objectName: "newKeyToken"
                            text: screen.settings.rotatedToken
                            readOnly: true
                            selectByMouse: true
                            selectByKeyboard: true
                            activeFocusOnTab: true
                            wrapMode: TextEdit.WrapAnywhere
                            color: Theme.text
                            selectionColor: Theme.blue
                            font.family: "monospace"
                            font.pixelSize: 12
                            Layout.fillWidth: true
                            Accessible.role: Accessible.EditableText
                            Accessible.name: qsTr("New key")
                        }

                        Text {
                            visible: screen.settings.previousKeyExpires
                            text: qsTr("Previous key works for 24 hours")
                            color: Theme.muted
                            font.pixelSize: 11
                        }

                        RowLayout {
                            spacing: 6

                            GlassButton {
                                objectName: "copyInstructions"
                                text: qsTr("Copy instructions")
                                symbol: "doc.on.doc"
                                fill: true
                                onClicked: screen.settings.copyRotationInstructions()
                            }

                            GlassButton {
                                objectName: "newKeyDone"
                                text: qsTr("Done")
                                onClicked: screen.settings.dismissRotatedKey()
                            }
                        }
                    }
                }
            }

            // ---- General -------------------------------------------------
            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true

                SectionLabel {
                    text: qsTr("General")
                    Layout.fillWidth: true
                }

                GlassPanel {
                    tint: true
                    Layout.fillWidth: true
                    implicitHeight: toggles.implicitHeight + 8

                    ColumnLayout {
                        id: toggles
                        x: 8
                        y: 4
                        width: parent.width - 16
                        spacing: 0

                        GlassToggle {
                            objectName: "launchAtLogin"
                            text: qsTr("Launch at login")
                            checked: screen.settings.launchAtLogin
                            onToggled: on => screen.settings.setLaunchAtLogin(on)
                            Layout.fillWidth: true
                        }
                        Separator {}
                        GlassToggle {
                            text: qsTr("Only interrupt for what matters")
                            subtitle: qsTr("Routine “done” updates stay silent")
                            checked: screen.settings.onlyInterrupt
                            onToggled: on => screen.settings.setOnlyInterrupt(on)
                            Layout.fillWidth: true
                        }
                        Separator {}
                        GlassToggle {
                            text: qsTr("Group updates by source")
                            subtitle: qsTr("Combine repeated sources in Updates")
                            checked: screen.settings.groupActivityUpdates
                            onToggled: on => screen.settings.setGroupActivityUpdates(on)
                            Layout.fillWidth: true
                        }
                        Separator {}
                        GlassToggle {
                            text: qsTr("Expanded Activity window")
                            subtitle: qsTr("Add an Activity button to the inbox toolbar")
                            checked: screen.settings.expandedActivityEnabled
                            onToggled: on => screen.settings.setExpandedActivityEnabled(on)
                            Layout.fillWidth: true
                        }
                        Separator {}
                        GlassToggle {
                            text: qsTr("Show development data")
                            subtitle: qsTr("Fill an empty inbox with sample channels")
                            checked: screen.settings.useDevelopmentData
                            onToggled: on => screen.settings.setUseDevelopmentData(on)
                            Layout.fillWidth: true
                        }
                    }
                }
            }

            // ---- Software update -----------------------------------------
            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true

                SectionLabel {
                    text: qsTr("Software update")
                    Layout.fillWidth: true
                }

                GlassPanel {
                    tint: true
                    Layout.fillWidth: true
                    implicitHeight: updateRows.implicitHeight + 8

                    ColumnLayout {
                        id: updateRows
                        x: 8
                        y: 4
                        width: parent.width - 16
                        spacing: 0

                        GlassToggle {
                            text: qsTr("Install updates automatically")
                            subtitle: qsTr("Orvel stays current on its own")
                            checked: screen.settings.automaticallyDownloadsUpdates
                            onToggled: on => screen.settings.setAutomaticallyDownloadsUpdates(on)
                            Layout.fillWidth: true
                        }
                        Separator {}
                        GlassButton {
                            objectName: "checkForUpdates"
                            text: qsTr("Check for updates")
                            symbol: "arrow.triangle.2.circlepath"
                            enabled: screen.settings.canCheckForUpdates
                            onClicked: screen.settings.checkForUpdates()
                            Layout.topMargin: 4
                            Layout.bottomMargin: 4
                        }
                    }
                }
            }

            // ---- Pairing, intro, quit ------------------------------------
            RowButton {
                objectName: "readEverywhere"
                text: qsTr("Read it everywhere")
                Accessible.name: text
                Layout.fillWidth: true
                implicitHeight: 40
                onClicked: screen.bridge.open(ModelBridge.Pair)

                contentItem: RowLayout {
                    spacing: 8

                    SymbolImage {
                        symbol: "qrcode"
                        size: 14
                        tint: Theme.muted
                        Layout.leftMargin: 8
                    }

                    Text {
                        text: qsTr("Read it everywhere")
                        color: Theme.text
                        font.pixelSize: 13
                        Layout.fillWidth: true
                    }

                    SymbolImage {
                        symbol: "chevron.forward"
                        size: 12
                        tint: Theme.faint
                        Layout.rightMargin: 8
                    }
                }
            }

            RowLayout {
                spacing: 6
                Layout.fillWidth: true

                GlassButton {
                    objectName: "replayIntro"
                    text: qsTr("Replay intro")
                    fill: true
                    onClicked: screen.bridge.open(ModelBridge.Welcome)
                }

                Item { Layout.fillWidth: true }

                GlassButton {
                    objectName: "quit"
                    text: qsTr("Quit Orvel")
                    symbol: "power"
                    fill: true
                    onClicked: screen.settings.quit()
                }
            }

            // ---- Footer --------------------------------------------------
            Text {
                text: qsTr("Orvel %1").arg(screen.settings.appVersion)
                color: Theme.faint
                font.pixelSize: 11
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 4
            }

            AbstractButton {
                id: credit
                objectName: "credit"
                text: qsTr("Made by the Orvel team · orvel.app")
                hoverEnabled: true
                focusPolicy: Qt.StrongFocus
                Accessible.role: Accessible.Link
                Accessible.name: text
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: -14
                onClicked: SafeMarkdown.openLink("https://orvel.app")

                contentItem: Text {
                    text: credit.text
                    color: Theme.blue
                    font.pixelSize: 11
                    font.underline: credit.hovered || credit.visualFocus
                }
            }
        }
    }

    // ---- The channel dialogs ----------------------------------------------
    RenameChannelDialog {
        objectName: "renameDialog"
        anchors.fill: parent
        shown: screen.settings.prompt === SettingsScreenModel.Rename
        title: screen.settings.promptTitle
        draft: screen.settings.renameDraft
        canSave: screen.settings.renameIsValid
        onDraftEdited: text => screen.settings.renameDraft = text
        onSaved: screen.settings.rename()
        onCancelled: screen.settings.dismissPrompt()
    }

    RotateKeyDialog {
        objectName: "rotateDialog"
        anchors.fill: parent
        shown: screen.settings.prompt === SettingsScreenModel.Rotate
        title: screen.settings.promptTitle
        onRotateChosen: hours => screen.settings.rotate(hours)
        onCancelled: screen.settings.dismissPrompt()
    }

    RetireChannelDialog {
        objectName: "retireDialog"
        anchors.fill: parent
        shown: screen.settings.prompt === SettingsScreenModel.Retire
        title: screen.settings.promptTitle
        onRetireChosen: screen.settings.retire()
        onCancelled: screen.settings.dismissPrompt()
    }
}
