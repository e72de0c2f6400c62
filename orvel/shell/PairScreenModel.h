#pragma once

// The pair screen. Each visit asks the model for a new pairing code and shows
// "Creating…" until it arrives, then the code and the time left, counting
// down each second; "Unavailable" when it could not be made (the reason is
// the model's error text). "Open web" opens the web app at its pairing step
// with the code, only while a code with time left is shown. A code that ran
// out, or a failed request, can be asked for again.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/core/AppModel.h"
#include "orvel/shell/ModelFollower.h"
#endif

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Orvel {

class PairScreenModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The panel makes the pair screen's model.")
    Q_PROPERTY(State state READ state NOTIFY changed)
    // The code, or "Creating…" / "Unavailable" in its place.
    Q_PROPERTY(QString code READ code NOTIFY changed)
    // "Expires in m:ss" while the code lasts, "Expired" after; empty without
    // a lifetime.
    Q_PROPERTY(QString expiryText READ expiryText NOTIFY changed)
    Q_PROPERTY(bool canOpenWeb READ canOpenWeb NOTIFY changed)
    // Why no code could be made (the model's error text); empty otherwise.
    Q_PROPERTY(QString errorText READ errorText NOTIFY changed)
    // Whether a new code can be asked for (the last one failed or ran out).
    Q_PROPERTY(bool canRenew READ canRenew NOTIFY changed)

public:
    enum State { Requesting, Showing, Unavailable, Expired };
    Q_ENUM(State)

    using UrlOpener = std::function<void(const QUrl&)>;

    // The model and the executor must outlive the view model. `openUrl`
    // opens a link in the browser (the desktop's default when not given).
    PairScreenModel(AppModel& model, OrvelKit::Executor& executor, UrlOpener openUrl = {},
                    QObject* parent = nullptr);
    ~PairScreenModel() override;

    State state() const { return state_; }
    QString code() const { return code_; }
    QString expiryText() const { return expiryText_; }
    QString errorText() const { return errorText_; }
    bool canOpenWeb() const { return state_ == State::Showing && remaining_.has_value(); }
    bool canRenew() const { return state_ == State::Unavailable || state_ == State::Expired; }

    Q_INVOKABLE void openWeb();
    Q_INVOKABLE void renew();

    // "Expires in m:ss" for `seconds` left.
    static QString expiryTextFor(std::uint64_t seconds);

signals:
    void changed();

private:
    void followNavigation();
    void request();
    void received(const std::optional<OrvelProtocol::PairingCode>& code);
    void tick();
    // Forgets the code and stops the countdown; answers still on their way
    // are ignored.
    void forget();

    AppModel& model_;
    OrvelKit::Executor& executor_;
    UrlOpener openUrl_;
    State state_ = State::Requesting;
    QString code_;
    QString expiryText_;
    QString errorText_;
    std::optional<std::uint64_t> remaining_;
    OrvelKit::Executor::TimePoint expiresAt_{};
    OrvelKit::Timer countdown_;
    bool shown_ = false;
    // Numbers the requests, so only the newest one's answer counts.
    std::uint64_t request_ = 0;
    std::shared_ptr<PairScreenModel*> self_;
    ModelFollower follower_;
};

} // namespace Orvel
