#include "orvel/shell/SettingsScreenModel.h"

#include "orvel/core/AgentInstructions.h"
#include "orvelkit/async/Spawn.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QVariantMap>
#include <algorithm>

namespace Orvel {

namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters as the user sees them: a flag or an accented letter made of
// several code points counts once.
qsizetype graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

} // namespace

SettingsScreenModel::SettingsScreenModel(AppModel& model, OrvelKit::Executor& executor,
                                         UpdaterController* updater, Clipboard& clipboard,
                                         QObject* parent)
    : QObject(parent), model_(model), executor_(executor), updater_(updater), clipboard_(clipboard),
      follower_(model, executor,
                {ModelField::path, ModelField::inbox, ModelField::config, ModelField::now,
                 ModelField::launchAtLogin, ModelField::onlyInterrupt,
                 ModelField::groupActivityUpdates, ModelField::expandedActivityEnabled,
                 ModelField::useDevelopmentData},
                [this] { recompute(); }) {
    if (updater_ != nullptr) {
        updater_->onChange = [this] { recompute(); };
    }
    recompute();
}

SettingsScreenModel::~SettingsScreenModel() {
    if (updater_ != nullptr) {
        updater_->onChange = nullptr;
    }
}

std::optional<QString> SettingsScreenModel::validName(const QString& draft) {
    auto name = draft.trimmed();
    const auto length = graphemeCount(name);
    if (length < 1 || length > nameLimit) {
        return std::nullopt;
    }
    return name;
}

void SettingsScreenModel::setRenameDraft(const QString& draft) {
    if (draft == renameDraft_) {
        return;
    }
    renameDraft_ = draft;
    emit promptChanged();
}

QString SettingsScreenModel::rotatedToken() const {
    return rotatedKey_ ? fromStd(rotatedKey_->token) : QString();
}

bool SettingsScreenModel::previousKeyExpires() const {
    return rotatedKey_ && rotatedKey_->previousKeysExpireAt.has_value();
}

QString SettingsScreenModel::rotationInstructions() const {
    return rotatedKey_ ? fromStd(AgentInstructions::replacementInstructions(*rotatedKey_))
                       : QString();
}

void SettingsScreenModel::copyRotationInstructions() {
    clipboard_.copy(rotationInstructions());
}

QString SettingsScreenModel::appVersion() const {
#ifdef ORVEL_VERSION
    const QString version = QStringLiteral(ORVEL_VERSION);
#else
    const QString version;
#endif
    return version.isEmpty() ? QStringLiteral("\u2014") : version;
}

const OrvelKit::ChannelDescriptor* SettingsScreenModel::ownedChannel(const QString& channel) const {
    const auto id = channel.toStdString();
    const auto found =
        std::find_if(visible_.begin(), visible_.end(), [&](const OrvelKit::ChannelDescriptor& c) {
            return c.channel == id && c.owned;
        });
    return found == visible_.end() ? nullptr : &*found;
}

void SettingsScreenModel::presentPrompt(Prompt prompt, const QString& channel) {
    // On the next turn: the menu that asked has closed and handed the focus
    // back by then, so the dialog keeps the focus it takes.
    QMetaObject::invokeMethod(
        this, [this, prompt, channel] { showPrompt(prompt, channel); }, Qt::QueuedConnection);
}

void SettingsScreenModel::showPrompt(Prompt prompt, const QString& channel) {
    const auto* descriptor = ownedChannel(channel);
    if (descriptor == nullptr || prompt == NoPrompt) {
        return;
    }
    prompt_ = prompt;
    promptChannel_ = channel;
    const auto name = fromStd(descriptor->name);
    switch (prompt) {
    case Rename:
        promptTitle_ = tr("Display name for %1").arg(channel);
        renameDraft_ = name;
        break;
    case Rotate:
        promptTitle_ = tr("Rotate %1 key").arg(name);
        break;
    case Retire:
        promptTitle_ = tr("Retire %1?").arg(name);
        break;
    case NoPrompt:
        break;
    }
    emit promptChanged();
}

void SettingsScreenModel::closePrompt() {
    prompt_ = NoPrompt;
    promptTitle_.clear();
    promptChannel_.clear();
    emit promptChanged();
}

void SettingsScreenModel::dismissPrompt() {
    closePrompt();
}

void SettingsScreenModel::rename() {
    const auto name = validName(renameDraft_);
    if (prompt_ != Rename || !name) {
        return;
    }
    const auto channel = promptChannel_.toStdString();
    renameDraft_.clear();
    closePrompt();
    OrvelKit::spawn(executor_, model_.renameChannel(channel, name->toStdString()), [](bool) {});
}

void SettingsScreenModel::rotate(int graceHours) {
    if (prompt_ != Rotate || (graceHours != 0 && graceHours != 24)) {
        return;
    }
    const auto channel = promptChannel_.toStdString();
    closePrompt();
    QPointer<SettingsScreenModel> self(this);
    OrvelKit::spawn(executor_, model_.rotateKey(channel, static_cast<std::uint8_t>(graceHours)),
                    [self](std::optional<OrvelProtocol::KeyRotation> rotation) {
                        // A failure leaves the panel as it was.
                        if (self && rotation) {
                            self->rotatedKey_ = std::move(rotation);
                            emit self->rotatedKeyChanged();
                        }
                    });
}

void SettingsScreenModel::retire() {
    if (prompt_ != Retire) {
        return;
    }
    const auto channel = promptChannel_.toStdString();
    closePrompt();
    OrvelKit::spawn(executor_, model_.retireChannel(channel), [](bool) {});
}

void SettingsScreenModel::dismissRotatedKey() {
    if (rotatedKey_) {
        rotatedKey_.reset();
        emit rotatedKeyChanged();
    }
}

void SettingsScreenModel::setLaunchAtLogin(bool enabled) {
    // The model keeps the state the system reports back, which may differ.
    model_.setLaunchAtLogin(enabled);
    recompute();
}

void SettingsScreenModel::setOnlyInterrupt(bool value) {
    model_.setOnlyInterrupt(value);
    recompute();
}

void SettingsScreenModel::setGroupActivityUpdates(bool value) {
    model_.setGroupActivityUpdates(value);
    recompute();
}

void SettingsScreenModel::setExpandedActivityEnabled(bool value) {
    model_.setExpandedActivityEnabled(value);
    recompute();
}

void SettingsScreenModel::setUseDevelopmentData(bool value) {
    model_.setUseDevelopmentData(value);
    recompute();
}

void SettingsScreenModel::setAutomaticallyDownloadsUpdates(bool enabled) {
    if (updater_ != nullptr) {
        updater_->setAutomaticallyDownloadsUpdates(enabled);
    }
    recompute();
}

void SettingsScreenModel::checkForUpdates() {
    if (updater_ != nullptr && updater_->canCheckForUpdates()) {
        updater_->checkForUpdates();
    }
    recompute();
}

void SettingsScreenModel::quit() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void SettingsScreenModel::forgetViewState() {
    renameDraft_.clear();
    if (prompt_ != NoPrompt) {
        closePrompt();
    } else {
        emit promptChanged();
    }
    dismissRotatedKey();
}

void SettingsScreenModel::recompute() {
    const bool onScreen = model_.current().kind == AppScreen::Kind::settings;
    if (onScreen_ && !onScreen) {
        forgetViewState();
    }
    onScreen_ = onScreen;

    namespace P = OrvelKit::Presentation;
    const auto& config = model_.config();
    const auto& inbox = model_.inbox();
    visible_ = P::visibleChannels(config, inbox, model_.now(), visibleLimit);
    showsAllChannelsLink_ = P::channels(config, inbox, model_.now()).size() > visible_.size();
    channels_.clear();
    for (const auto& channel : visible_) {
        channels_.push_back(QVariantMap{
            {"channel", fromStd(channel.channel)},
            {"name", fromStd(channel.name)},
            {"owned", channel.owned},
            {"activity", fromStd(OrvelKit::Json::text(channel.activity))},
            {"detail", fromStd(channel.detail)},
        });
    }
    // A dialog whose channel went (retired elsewhere) has nothing to act on.
    if (prompt_ != NoPrompt && ownedChannel(promptChannel_) == nullptr) {
        closePrompt();
    }

    launchAtLogin_ = model_.launchAtLogin();
    onlyInterrupt_ = model_.onlyInterrupt();
    groupActivityUpdates_ = model_.groupActivityUpdates();
    expandedActivityEnabled_ = model_.expandedActivityEnabled();
    useDevelopmentData_ = model_.useDevelopmentData();
    automaticallyDownloadsUpdates_ =
        updater_ != nullptr && updater_->automaticallyDownloadsUpdates();
    canCheckForUpdates_ = updater_ != nullptr && updater_->canCheckForUpdates();
    emit changed();
}

} // namespace Orvel
