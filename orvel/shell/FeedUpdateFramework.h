#pragma once

// Updates from a feed at a fixed address (set when the app is built; empty:
// checking is off). A check fetches the feed and, when it names a newer
// version than this build, reports it through `onUpdateFound`; the release is
// then opened in the browser on request. Nothing installs in place here, so
// no update is ever handed to the updater for installation.
//
// With "install automatically" on, the feed is checked at start and once a
// day.

#include "orvel/core/UpdateFramework.h"
#include "orvel/shell/UpdateFeed.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/http/HTTPTransport.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Orvel {

class FeedUpdateFramework final : public UpdateFramework {
public:
    static constexpr double dailySeconds = 24 * 3600;

    FeedUpdateFramework(std::string feedUrl, std::string runningVersion,
                        std::shared_ptr<OrvelKit::HTTPTransport> transport,
                        OrvelKit::Executor& executor);
    ~FeedUpdateFramework() override;

    bool canCheckForUpdates() const override { return !feedUrl_.empty() && !checking_; }
    void checkForUpdates() override;
    bool automaticallyDownloadsUpdates() const override { return automatic_; }
    void setAutomaticallyDownloadsUpdates(bool enabled) override;
    void setUpdateReadyHandler(UpdateReadyHandler handler) override {
        readyHandler_ = std::move(handler);
    }

    // A newer release was found.
    std::function<void(const UpdateFeedEntry&)> onUpdateFound;
    // A check ended without one: nothing newer, or the error's text.
    std::function<void(std::optional<std::string> error)> onNoUpdate;

    const std::optional<UpdateFeedEntry>& latest() const { return latest_; }
    bool checking() const { return checking_; }

private:
    static OrvelKit::Task<void> check(std::weak_ptr<FeedUpdateFramework*> framework,
                                      std::shared_ptr<OrvelKit::HTTPTransport> transport,
                                      std::string url);
    void finishCheck(const OrvelKit::TransportResult& result);
    static OrvelKit::HTTPRequest feedRequest(const std::string& url);

    std::string feedUrl_;
    std::string runningVersion_;
    std::shared_ptr<OrvelKit::HTTPTransport> transport_;
    OrvelKit::Executor& executor_;
    UpdateReadyHandler readyHandler_;
    std::optional<UpdateFeedEntry> latest_;
    bool checking_ = false;
    bool automatic_ = false;
    OrvelKit::Timer daily_;
    std::shared_ptr<FeedUpdateFramework*> self_;
};

} // namespace Orvel
