#pragma once

// An in-memory Orvel service for app-model tests: answers each request by its
// endpoint (the URL path after the base, query dropped), records every request,
// and can hold the answers of one endpoint back until the test releases them,
// to stage overlapping calls that finish in any order.
//
// Answers arrive like real ones: the awaiting task resumes through its
// executor, never inside send().

#include "orvelkit/async/Completion.h"
#include "orvelkit/http/HTTPTransport.h"
#include "orvelkit/json/Json.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace OrvelTest {

class FakeService final : public OrvelKit::HTTPTransport {
public:
    using Handler = std::function<OrvelKit::TransportResult(const OrvelKit::HTTPRequest&)>;

    // Unanswered endpoints get 404.
    void on(const std::string& endpoint, Handler handler) {
        handlers_[endpoint] = std::move(handler);
    }

    // A 200 answer with `record` encoded as JSON.
    template <class Record>
    void answer(const std::string& endpoint, const Record& record) {
        const auto body = OrvelKit::Json::encode(record).value();
        on(endpoint, [body](const OrvelKit::HTTPRequest&) {
            return OrvelKit::TransportResult(OrvelKit::HTTPResponse{200, body});
        });
    }

    void fail(const std::string& endpoint, int status) {
        on(endpoint, [status](const OrvelKit::HTTPRequest&) {
            return OrvelKit::TransportResult(OrvelKit::HTTPResponse{status, "{}"});
        });
    }

    void unreachable(const std::string& endpoint) {
        on(endpoint, [](const OrvelKit::HTTPRequest&) {
            return OrvelKit::TransportResult(
                OrvelKit::unexpected(OrvelKit::TransportError{7, "Couldn't connect to server"}));
        });
    }

    // From now on, answers for `endpoint` wait for release().
    void hold(const std::string& endpoint) { held_[endpoint]; }
    std::size_t waiting(const std::string& endpoint) const {
        const auto found = held_.find(endpoint);
        return found == held_.end() ? 0 : found->second.size();
    }
    // Answers the oldest held call.
    void release(const std::string& endpoint) {
        auto call = std::move(held_.at(endpoint).front());
        held_.at(endpoint).pop_front();
        call();
    }

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override {
        const auto endpoint = endpointOf(request.url);
        // The answer is what the service says now, even if it arrives later.
        auto result = std::make_shared<OrvelKit::TransportResult>(respond(endpoint, request));
        requests_.push_back(std::move(request));
        auto* queue = held_.contains(endpoint) ? &held_[endpoint] : nullptr;
        // A named awaiter: gcc 12 mishandles lambda temporaries inside a
        // co_await expression (they are destroyed twice).
        auto start = [queue, result](OrvelKit::Completion<OrvelKit::TransportResult> done) {
            auto shared =
                std::make_shared<OrvelKit::Completion<OrvelKit::TransportResult>>(std::move(done));
            auto answer = [shared, result] { (*shared)(std::move(*result)); };
            if (queue) {
                queue->push_back(answer);
            } else {
                answer();
            }
        };
        auto awaiter = OrvelKit::suspendUntil<OrvelKit::TransportResult>(std::move(start));
        auto answer = co_await awaiter;
        co_return answer;
    }

    const std::vector<OrvelKit::HTTPRequest>& requests() const { return requests_; }
    std::vector<OrvelKit::HTTPRequest> requestsTo(const std::string& endpoint) const {
        std::vector<OrvelKit::HTTPRequest> matching;
        for (const auto& request : requests_) {
            if (endpointOf(request.url) == endpoint) {
                matching.push_back(request);
            }
        }
        return matching;
    }

    static std::string endpointOf(const std::string& url) {
        auto path = url.substr(url.find('/', url.find("://") + 3) + 1);
        return path.substr(0, path.find('?'));
    }

private:
    OrvelKit::TransportResult respond(const std::string& endpoint,
                                      const OrvelKit::HTTPRequest& request) {
        const auto found = handlers_.find(endpoint);
        if (found == handlers_.end()) {
            return OrvelKit::HTTPResponse{404, "{}"};
        }
        return found->second(request);
    }

    std::map<std::string, Handler> handlers_;
    std::map<std::string, std::deque<std::function<void()>>> held_;
    std::vector<OrvelKit::HTTPRequest> requests_;
};

} // namespace OrvelTest
