#pragma once

// The settings screen: the channels this device publishes to (the short list,
// at most eight) with the owner's dialogs to rename a channel, rotate its key
// or retire it; the key a rotation returned, shown once; the app's
// preferences, launch at login and the update rows; the app's version.
//
// The dialog, the rename draft and the new key are the screen's own state:
// they start empty and are forgotten when the user leaves the screen. A
// dialog's action closes it at once; the model's answer comes later, and a
// failure shows only as the model's `lastError`. A new key that arrives
// after the user left is kept for the return, so it is never lost unseen.
// Values are recomputed once per model change.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/Clipboard.h"
#include "orvel/shell/ModelFollower.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#endif

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>
#include <vector>

namespace Orvel {

class SettingsScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the settings screen's model.")
    // The short list: {channel, name, owned, activity, detail} each.
    Q_PROPERTY(QVariantList channels READ channels NOTIFY changed)
    // Whether the full list has more channels than the short one.
    Q_PROPERTY(bool showsAllChannelsLink READ showsAllChannelsLink NOTIFY changed)
    // The dialog over the screen, its title and the channel it acts on.
    Q_PROPERTY(Prompt prompt READ prompt NOTIFY promptChanged)
    Q_PROPERTY(QString promptTitle READ promptTitle NOTIFY promptChanged)
    Q_PROPERTY(QString promptChannel READ promptChannel NOTIFY promptChanged)
    Q_PROPERTY(QString renameDraft READ renameDraft WRITE setRenameDraft NOTIFY promptChanged)
    Q_PROPERTY(bool renameIsValid READ renameIsValid NOTIFY promptChanged)
    // The key the last rotation returned, until "Done".
    Q_PROPERTY(bool hasRotatedKey READ hasRotatedKey NOTIFY rotatedKeyChanged)
    Q_PROPERTY(QString rotatedToken READ rotatedToken NOTIFY rotatedKeyChanged)
    // Whether the service keeps the previous key working for a while.
    Q_PROPERTY(bool previousKeyExpires READ previousKeyExpires NOTIFY rotatedKeyChanged)
    // Preferences and the update rows.
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin NOTIFY changed)
    Q_PROPERTY(bool onlyInterrupt READ onlyInterrupt NOTIFY changed)
    Q_PROPERTY(bool groupActivityUpdates READ groupActivityUpdates NOTIFY changed)
    Q_PROPERTY(bool expandedActivityEnabled READ expandedActivityEnabled NOTIFY changed)
    Q_PROPERTY(bool useDevelopmentData READ useDevelopmentData NOTIFY changed)
    Q_PROPERTY(bool automaticallyDownloadsUpdates READ automaticallyDownloadsUpdates NOTIFY changed)
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY changed)
    // This build's version, or "—" when it has none.
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)

public:
    // How many channels the short list shows.
    static constexpr std::size_t visibleLimit = 8;
    // The longest display name a rename accepts, in characters.
    static constexpr qsizetype nameLimit = 80;

    enum Prompt { NoPrompt, Rename, Rotate, Retire };
    Q_ENUM(Prompt)

    // `updater` may be null: no update rows can act then. While the view
    // model lives it is the updater's `onChange` listener (a check that ends
    // enables "Check for updates" again). The model, the executor and the
    // updater must outlive the view model.
    SettingsScreenModel(AppModel& model, OrvelKit::Executor& executor, UpdaterController* updater,
                        Clipboard& clipboard, QObject* parent = nullptr);
    ~SettingsScreenModel() override;

    // Whether the panel shows: hidden, the model is followed but nothing is
    // recomputed; shown again, it catches up once.
    void setActive(bool active) { follower_.setPaused(!active); }

    QVariantList channels() const { return channels_; }
    bool showsAllChannelsLink() const { return showsAllChannelsLink_; }
    Prompt prompt() const { return prompt_; }
    QString promptTitle() const { return promptTitle_; }
    QString promptChannel() const { return promptChannel_; }
    QString renameDraft() const { return renameDraft_; }
    void setRenameDraft(const QString& draft);
    bool renameIsValid() const { return validName(renameDraft_).has_value(); }
    bool hasRotatedKey() const { return rotatedKey_.has_value(); }
    QString rotatedToken() const;
    bool previousKeyExpires() const;
    // What the agent needs to switch to the new key (it holds the secret).
    Q_INVOKABLE QString rotationInstructions() const;
    // Puts them on the clipboard.
    Q_INVOKABLE void copyRotationInstructions();
    bool launchAtLogin() const { return launchAtLogin_; }
    bool onlyInterrupt() const { return onlyInterrupt_; }
    bool groupActivityUpdates() const { return groupActivityUpdates_; }
    bool expandedActivityEnabled() const { return expandedActivityEnabled_; }
    bool useDevelopmentData() const { return useDevelopmentData_; }
    bool automaticallyDownloadsUpdates() const { return automaticallyDownloadsUpdates_; }
    bool canCheckForUpdates() const { return canCheckForUpdates_; }
    QString appVersion() const;

    // The name trimmed of white space and line breaks, when it is 1 to 80
    // characters (as the user sees them: an emoji counts once).
    static std::optional<QString> validName(const QString& draft);

    // ---- The channel dialogs -------------------------------------------
    // Opens a dialog for one of the device's own channels in the short
    // list, on the next turn of the event loop; "rename" starts the draft at
    // the current name. Anything else is ignored.
    Q_INVOKABLE void presentPrompt(Prompt prompt, const QString& channel);
    Q_INVOKABLE void dismissPrompt();
    // Each closes the dialog and starts the model's action.
    Q_INVOKABLE void rename();
    Q_INVOKABLE void rotate(int graceHours);
    Q_INVOKABLE void retire();
    // Forgets the new key.
    Q_INVOKABLE void dismissRotatedKey();

    // ---- Preferences and updates ---------------------------------------
    Q_INVOKABLE void setLaunchAtLogin(bool enabled);
    Q_INVOKABLE void setOnlyInterrupt(bool value);
    Q_INVOKABLE void setGroupActivityUpdates(bool value);
    Q_INVOKABLE void setExpandedActivityEnabled(bool value);
    Q_INVOKABLE void setUseDevelopmentData(bool value);
    Q_INVOKABLE void setAutomaticallyDownloadsUpdates(bool enabled);
    Q_INVOKABLE void checkForUpdates();
    // Ends the app, as the tray menu's "Quit Orvel" does.
    Q_INVOKABLE void quit();

    void recompute();

signals:
    void changed();
    void promptChanged();
    void rotatedKeyChanged();

private:
    const OrvelKit::ChannelDescriptor* ownedChannel(const QString& channel) const;
    void showPrompt(Prompt prompt, const QString& channel);
    void closePrompt();
    // Forgets the screen's own state (the user left it).
    void forgetViewState();

    AppModel& model_;
    OrvelKit::Executor& executor_;
    UpdaterController* updater_;
    Clipboard& clipboard_;
    std::vector<OrvelKit::ChannelDescriptor> visible_;
    QVariantList channels_;
    bool showsAllChannelsLink_ = false;
    Prompt prompt_ = NoPrompt;
    QString promptTitle_;
    QString promptChannel_;
    QString renameDraft_;
    std::optional<OrvelProtocol::KeyRotation> rotatedKey_;
    bool launchAtLogin_ = false;
    bool onlyInterrupt_ = false;
    bool groupActivityUpdates_ = false;
    bool expandedActivityEnabled_ = false;
    bool useDevelopmentData_ = false;
    bool automaticallyDownloadsUpdates_ = false;
    bool canCheckForUpdates_ = false;
    bool onScreen_ = false;
    ModelFollower follower_;
};

} // namespace Orvel
