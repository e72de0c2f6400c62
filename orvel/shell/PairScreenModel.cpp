#include "orvel/shell/PairScreenModel.h"

#include "orvelkit/async/Spawn.h"
#include "orvelkit/presentation/WebInbox.h"

#include <QDesktopServices>
#include <chrono>

namespace Orvel {

PairScreenModel::PairScreenModel(AppModel& model, OrvelKit::Executor& executor, UrlOpener openUrl,
                                 QObject* parent)
    : QObject(parent), model_(model), executor_(executor), openUrl_(std::move(openUrl)),
      code_(tr("Creating…")), self_(std::make_shared<PairScreenModel*>(this)),
      follower_(model, executor, {ModelField::path}, [this] { followNavigation(); }) {
    if (!openUrl_) {
        openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    }
    followNavigation();
}

PairScreenModel::~PairScreenModel() {
    *self_ = nullptr;
}

QString PairScreenModel::expiryTextFor(std::uint64_t seconds) {
    return tr("Expires in %1:%2")
        .arg(seconds / 60)
        .arg(static_cast<qulonglong>(seconds % 60), 2, 10, QLatin1Char('0'));
}

void PairScreenModel::openWeb() {
    if (!canOpenWeb()) {
        return;
    }
    if (const auto url =
            OrvelKit::WebInbox::pairingURL(code_.toStdString(), model_.config().serverURL)) {
        openUrl_(QUrl(QString::fromStdString(*url), QUrl::StrictMode));
    }
}

void PairScreenModel::renew() {
    if (shown_ && canRenew()) {
        request();
    }
}

void PairScreenModel::followNavigation() {
    const bool shown = model_.current().kind == AppScreen::Kind::pair;
    if (shown == shown_) {
        return;
    }
    shown_ = shown;
    // Each visit asks for its own code; leaving drops it.
    forget();
    if (shown) {
        request();
    }
}

void PairScreenModel::forget() {
    ++request_;
    countdown_ = {};
    state_ = State::Requesting;
    code_ = tr("Creating…");
    expiryText_.clear();
    errorText_.clear();
    remaining_.reset();
    emit changed();
}

void PairScreenModel::request() {
    forget();
    OrvelKit::spawn(executor_, model_.makePairingCode(),
                    [self = self_, id = request_](std::optional<OrvelProtocol::PairingCode> code) {
                        auto* screen = *self;
                        if (screen && screen->request_ == id) {
                            screen->received(code);
                        }
                    });
}

void PairScreenModel::received(const std::optional<OrvelProtocol::PairingCode>& code) {
    if (!code) {
        state_ = State::Unavailable;
        code_ = tr("Unavailable");
        errorText_ = QString::fromStdString(model_.lastError().value_or(std::string()));
        emit changed();
        return;
    }
    state_ = State::Showing;
    code_ = QString::fromStdString(code->code);
    remaining_ = code->expiresIn;
    expiresAt_ = executor_.now() + std::chrono::seconds(code->expiresIn);
    expiryText_ = expiryTextFor(code->expiresIn);
    if (code->expiresIn == 0) {
        tick();
        return;
    }
    countdown_ = executor_.scheduleRepeating(std::chrono::seconds(1), [self = self_] {
        auto* screen = *self;
        if (!screen) {
            return false;
        }
        screen->tick();
        return screen->state_ == State::Showing;
    });
    emit changed();
}

void PairScreenModel::tick() {
    const auto left = std::chrono::ceil<std::chrono::seconds>(expiresAt_ - executor_.now());
    const auto seconds = static_cast<std::uint64_t>(std::max<std::int64_t>(0, left.count()));
    if (seconds == 0) {
        state_ = State::Expired;
        expiryText_ = tr("Expired");
    } else {
        expiryText_ = expiryTextFor(seconds);
    }
    remaining_ = seconds;
    emit changed();
}

} // namespace Orvel
