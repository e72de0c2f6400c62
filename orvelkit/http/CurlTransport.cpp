#include "orvelkit/http/CurlTransport.h"

#include "orvelkit/async/Completion.h"
#include "orvelkit/http/Curl.h"
#include "orvelkit/http/CurlTransfer.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace OrvelKit {

// The worker thread and its multi handle. Requests arrive through submit()
// from any thread; the worker owns every transfer from then on.
class CurlTransport::Engine : public std::enable_shared_from_this<Engine> {
public:
    explicit Engine(CurlTransportOptions options) : options_(options) {
        Curl::ensureInitialized();
        multi_ = curl_multi_init();
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine() {
        if (multi_) {
            curl_multi_cleanup(multi_);
        }
    }

    // The thread keeps the engine alive until it has finished. Without a
    // multi handle there is no thread, and every request is cancelled.
    void start() {
        if (!multi_) {
            stopping_ = true;
            return;
        }
        thread_ = std::thread([self = shared_from_this()] { self->loop(); });
    }

    void submit(HTTPRequest request, Completion<TransportResult> completion) {
        auto transfer = std::make_unique<CurlTransfer>(std::move(request), std::move(completion));
        {
            std::lock_guard lock(mutex_);
            if (!stopping_) {
                incoming_.push_back(std::move(transfer));
            }
        }
        if (transfer) {
            transfer->fail(TransportError::cancelled());
            return;
        }
        curl_multi_wakeup(multi_);
    }

    // Stops the worker; it cancels every transfer still pending.
    void shutdown() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        if (!thread_.joinable()) {
            return;
        }
        curl_multi_wakeup(multi_);
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach(); // destroyed from a completion: the loop ends by itself
        } else {
            thread_.join();
        }
    }

private:
    void loop();
    void cancelAll();

    CurlTransportOptions options_;
    CURLM* multi_ = nullptr;
    std::thread thread_;

    std::mutex mutex_;
    std::vector<std::unique_ptr<CurlTransfer>> incoming_;
    bool stopping_ = false;

    // Worker thread only.
    std::unordered_map<CURL*, std::unique_ptr<CurlTransfer>> active_;
};

void CurlTransport::Engine::loop() {
    for (;;) {
        std::vector<std::unique_ptr<CurlTransfer>> incoming;
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                break;
            }
            incoming.swap(incoming_);
        }
        for (auto& transfer : incoming) {
            if (auto error = transfer->prepare(options_)) {
                transfer->fail(std::move(*error));
                continue;
            }
            const CURLMcode added = curl_multi_add_handle(multi_, transfer->handle());
            if (added != CURLM_OK) {
                transfer->fail(TransportError(CURLE_FAILED_INIT, curl_multi_strerror(added)));
                continue;
            }
            active_.emplace(transfer->handle(), std::move(transfer));
        }

        int running = 0;
        curl_multi_perform(multi_, &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg != CURLMSG_DONE) {
                continue;
            }
            const CURLcode result = message->data.result;
            auto found = active_.find(message->easy_handle);
            if (found == active_.end()) {
                continue;
            }
            auto transfer = std::move(found->second);
            active_.erase(found);
            curl_multi_remove_handle(multi_, transfer->handle());
            transfer->finish(result);
        }

        curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
    cancelAll();
}

void CurlTransport::Engine::cancelAll() {
    std::vector<std::unique_ptr<CurlTransfer>> incoming;
    {
        std::lock_guard lock(mutex_);
        incoming.swap(incoming_);
    }
    for (auto& transfer : incoming) {
        transfer->fail(TransportError::cancelled());
    }
    for (auto& [easy, transfer] : active_) {
        curl_multi_remove_handle(multi_, easy);
        transfer->fail(TransportError::cancelled());
    }
    active_.clear();
}

CurlTransport::CurlTransport(CurlTransportOptions options)
    : engine_(std::make_shared<Engine>(options)) {
    engine_->start();
}

CurlTransport::~CurlTransport() {
    engine_->shutdown();
}

Task<TransportResult> CurlTransport::send(HTTPRequest request) {
    return sendThrough(engine_, std::move(request));
}

Task<TransportResult> CurlTransport::sendThrough(std::weak_ptr<Engine> engine,
                                                 HTTPRequest request) {
    co_return co_await suspendUntil<TransportResult>(
        [&engine, &request](Completion<TransportResult> completion) {
            if (auto alive = engine.lock()) {
                alive->submit(std::move(request), std::move(completion));
            } else {
                completion(unexpected(TransportError::cancelled()));
            }
        });
}

} // namespace OrvelKit
