#include "orvel/shell/FeedUpdateFramework.h"

#include "orvelkit/async/Spawn.h"

#include <chrono>

namespace Orvel {

FeedUpdateFramework::FeedUpdateFramework(std::string feedUrl, std::string runningVersion,
                                         std::shared_ptr<OrvelKit::HTTPTransport> transport,
                                         OrvelKit::Executor& executor)
    : feedUrl_(std::move(feedUrl)), runningVersion_(std::move(runningVersion)),
      transport_(std::move(transport)), executor_(executor),
      self_(std::make_shared<FeedUpdateFramework*>(this)) {}

FeedUpdateFramework::~FeedUpdateFramework() = default;

void FeedUpdateFramework::setAutomaticallyDownloadsUpdates(bool enabled) {
    automatic_ = enabled;
    if (!enabled || feedUrl_.empty()) {
        daily_.cancel();
        return;
    }
    checkForUpdates();
    daily_ = executor_.scheduleRepeating(std::chrono::duration_cast<OrvelKit::Executor::Duration>(
                                             std::chrono::duration<double>(dailySeconds)),
                                         [this] { checkForUpdates(); });
}

void FeedUpdateFramework::checkForUpdates() {
    if (!canCheckForUpdates() || !transport_) {
        return;
    }
    checking_ = true;
    OrvelKit::spawn(executor_, check(self_, transport_, feedUrl_));
}

OrvelKit::Task<void> FeedUpdateFramework::check(std::weak_ptr<FeedUpdateFramework*> framework,
                                                std::shared_ptr<OrvelKit::HTTPTransport> transport,
                                                std::string url) {
    // A task starts when the executor gets to it, and the answer comes later
    // still: the framework may be gone by either time, so the task holds it
    // weakly and takes everything else by value.
    auto result = co_await transport->send(feedRequest(url));
    if (const auto self = framework.lock()) {
        (*self)->finishCheck(result);
    }
}

OrvelKit::HTTPRequest FeedUpdateFramework::feedRequest(const std::string& url) {
    OrvelKit::HTTPRequest request;
    request.url = url;
    request.method = "GET";
    request.headers["Accept"] = "application/json";
    return request;
}

void FeedUpdateFramework::finishCheck(const OrvelKit::TransportResult& result) {
    checking_ = false;
    std::optional<std::string> error;
    if (!result) {
        error = result.error().message();
    } else if (result->status != 200) {
        error = "http(status: " + std::to_string(result->status) + ")";
    } else if (auto entry = UpdateFeed::parse(result->body); !entry) {
        error = entry.error();
    } else if (UpdateFeed::isNewer(entry->version, runningVersion_)) {
        latest_ = *entry;
        if (onUpdateFound) {
            onUpdateFound(*entry);
        }
        return;
    }
    if (onNoUpdate) {
        onNoUpdate(error);
    }
}

} // namespace Orvel
