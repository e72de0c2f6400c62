#include "tools/devserver/DevServer.h"

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/CursorQuery.h"
#include "tools/devserver/DevService.h"
#include "tools/devserver/ListenAddress.h"
#include "tools/devserver/McpEndpoint.h"
#include "tools/devserver/RequestLog.h"
#include "tools/devserver/ServiceRecords.h"
#include "tools/devserver/ServiceStore.h"
#include "tools/devserver/StateFile.h"
#include "tools/devserver/WebApp.h"
#include "tools/embed/EmbeddedFile.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>

namespace OrvelDev {

using namespace OrvelProtocol;

namespace {

constexpr std::size_t workerThreads = 32;
constexpr const char* jsonType = "application/json";

struct Route {
    std::string_view method;
    std::string_view path;
};

// Fixed paths the service answers; used to tell "wrong method" from "unknown path".
constexpr Route fixedRoutes[] = {
    {"GET", "/healthz"},
    {"POST", "/pair/bootstrap"},
    {"POST", "/pair/code"},
    {"POST", "/pair/redeem"},
    {"POST", "/engage"},
    {"POST", "/subscribe"},
    {"POST", "/keys/rotate"},
    {"POST", "/channels/rename"},
    {"POST", "/channels/retire"},
    {"GET", "/sync"},
    {"POST", "/read"},
    {"POST", "/dismiss"},
    {"POST", "/publish"},
    {"POST", "/cards/publish"},
};

std::string errorJson(std::string_view message) {
    auto json = OrvelKit::Json::encode(ErrorAnswer{std::string(message)});
    // A message that is not valid UTF-8 (it may quote the request) cannot be
    // encoded; the status still tells the story.
    return json ? *json : std::string(R"({"error":"request refused"})");
}

void sendError(httplib::Response& res, const ServiceError& error) {
    res.status = error.status;
    if (error.status == 401) {
        res.set_header("WWW-Authenticate", "Bearer");
    }
    if (error.retryAfterSeconds) {
        res.set_header("Retry-After", std::to_string(*error.retryAfterSeconds));
    }
    res.set_content(errorJson(error.message), jsonType);
}

template <class T>
void sendRecord(httplib::Response& res, const T& record) {
    auto json = OrvelKit::Json::encode(record);
    if (!json) {
        sendError(res,
                  ServiceError{500, "cannot encode the answer: " + json.error().description(), {}});
        return;
    }
    res.status = 200;
    res.set_content(*json, jsonType);
}

template <class T>
void sendResult(httplib::Response& res, const ServiceResult<T>& result) {
    if (result) {
        sendRecord(res, *result);
    } else {
        sendError(res, result.error());
    }
}

// The token of "Authorization: Bearer <token>", or empty.
std::string bearerToken(const httplib::Request& req) {
    const std::string header = req.get_header_value("Authorization");
    constexpr std::string_view scheme = "bearer ";
    if (header.size() < scheme.size()) {
        return {};
    }
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(header[i])) != scheme[i]) {
            return {};
        }
    }
    const auto first = header.find_first_not_of(' ', scheme.size());
    if (first == std::string::npos) {
        return {};
    }
    const auto last = header.find_last_not_of(' ');
    return header.substr(first, last - first + 1);
}

std::string_view rawQuery(const httplib::Request& req) {
    const std::string_view target = req.target;
    const auto mark = target.find('?');
    return mark == std::string_view::npos ? std::string_view{} : target.substr(mark + 1);
}

// The decoded value of the query item `name`: absent when the item is not
// there, an error when the query is malformed or names the item twice.
OrvelKit::Expected<std::optional<std::string>, std::string>
queryItem(const std::vector<std::pair<std::string, std::string>>& items, std::string_view name) {
    std::optional<std::string> value;
    for (const auto& [key, text] : items) {
        if (key == name) {
            if (value) {
                return OrvelKit::unexpected("\"" + std::string(name) + "\" appears twice");
            }
            value = text;
        }
    }
    return value;
}

// The channel of "/c/<channel>/pull", decoded from the raw target so that an
// escaped "/" inside the identifier survives.
OrvelKit::Expected<std::string, std::string> pullChannel(const httplib::Request& req) {
    std::string_view path = req.target;
    path = path.substr(0, path.find('?'));
    constexpr std::string_view head = "/c/";
    constexpr std::string_view tail = "/pull";
    if (!path.starts_with(head) || !path.ends_with(tail) ||
        path.size() <= head.size() + tail.size()) {
        return OrvelKit::unexpected(std::string("malformed pull path"));
    }
    const auto segment = path.substr(head.size(), path.size() - head.size() - tail.size());
    if (segment.find('/') != std::string_view::npos) {
        return OrvelKit::unexpected(std::string("malformed pull path"));
    }
    return percentDecode(segment);
}

// For refusals that the HTTP library makes before any route runs.
std::string refusalMessage(int status) {
    switch (status) {
    case 400:
        return "malformed request";
    case 413:
        return "request body too large";
    case 414:
        return "request target too long";
    case 416:
        return "range not satisfiable";
    case 500:
        return "internal error";
    default:
        return "request refused";
    }
}

std::chrono::steady_clock::time_point& requestStart() {
    thread_local std::chrono::steady_clock::time_point start;
    return start;
}

} // namespace

struct DevServer::Impl {
    explicit Impl(DevServerOptions options)
        : options(std::move(options)), service({}, this->options.limits),
          mcp([this](const auto& call) {
              return locked([&](DevService& s) -> ServiceResult<void> {
                  call(s);
                  return {};
              });
          }) {}

    template <class Body, class Call>
    void post(const char* path, Call call);
    // `handler` with the fault set for the request's endpoint applied.
    httplib::Server::Handler faulted(httplib::Server::Handler handler);
    void applyFault(const Fault& fault, const httplib::Request& req, httplib::Response& res);
    void routes();
    void agentRoutes();
    void logLine(const std::string& line);
    // Opens the database and fills the service from it and the state file.
    OrvelKit::Expected<void, std::string> loadState();
    // Runs one service call under the lock and stores what it changed before
    // the answer is given.
    template <class Call>
    auto locked(Call call) -> decltype(call(std::declval<DevService&>()));

    DevServerOptions options;
    DevService service;
    std::unique_ptr<ServiceStore> store;
    std::mutex mutex; // guards service and store
    std::mutex logMutex;
    FaultInjector faults;
    McpEndpoint mcp;
    httplib::Server server;
    std::thread thread;
    std::atomic<bool> finished{false};
    int port = 0;
    bool started = false;
};

void DevServer::Impl::logLine(const std::string& line) {
    std::ostream* out = options.log;
    if (out == nullptr) {
        return;
    }
    std::lock_guard lock(logMutex);
    *out << line << '\n' << std::flush;
}

template <class Call>
auto DevServer::Impl::locked(Call call) -> decltype(call(std::declval<DevService&>())) {
    std::lock_guard lock(mutex);
    auto result = call(service);
    if (!service.hasChanges()) {
        return result;
    }
    const StateChanges changes = service.takeChanges();
    if (!store) {
        return result;
    }
    auto written = store->write(changes);
    if (written) {
        return result;
    }
    // Nothing is acknowledged that is not on disk: the answer becomes a
    // refusal, and the working set goes back to what the database holds.
    std::string line = "storage failed, request refused: " + written.error();
    auto reloaded = store->load(toMillis(std::chrono::system_clock::now()));
    if (reloaded) {
        (void)service.restore(std::move(*reloaded));
    } else {
        line += "; cannot reload: " + reloaded.error();
    }
    if (options.log != nullptr) {
        logLine(line);
    } else {
        std::cerr << line << '\n';
    }
    return OrvelKit::unexpected(ServiceError::unavailable("the service cannot store the change"));
}

httplib::Server::Handler DevServer::Impl::faulted(httplib::Server::Handler handler) {
    return [this, handler = std::move(handler)](const httplib::Request& req,
                                                httplib::Response& res) {
        const auto fault = faults.take(req.path);
        if (fault) {
            logLine("injecting fault " + describeFault(*fault) + " on " + loggablePath(req.path));
        }
        if (fault && fault->kind == FaultKind::status) {
            // Refused before the service sees it: nothing changes.
            return sendError(res, ServiceError{fault->status, "fault injected for testing", {}});
        }
        handler(req, res);
        if (fault) {
            applyFault(*fault, req, res);
        }
    };
}

void DevServer::Impl::applyFault(const Fault& fault, const httplib::Request&,
                                 httplib::Response& res) {
    switch (fault.kind) {
    case FaultKind::status:
        break;
    case FaultKind::malformedBody:
        res.status = 200;
        res.set_content(FaultBodies::malformed(), jsonType);
        break;
    case FaultKind::truncatedBody:
        res.status = 200;
        res.set_content(FaultBodies::truncated(res.body), jsonType);
        break;
    case FaultKind::invalidNotification:
        if (res.status == 200) {
            res.set_content(FaultBodies::withInvalidNotification(res.body), jsonType);
        }
        break;
    case FaultKind::delay:
        // The answer is made now and sent late, as from a slow service.
        faults.wait(fault.delay);
        break;
    case FaultKind::closeMidBody: {
        // The headers announce the whole body; half of it goes out, then the
        // provider gives up and the server drops the connection.
        auto body = std::make_shared<std::string>(std::move(res.body));
        res.body.clear();
        res.set_content_provider(body->size(), jsonType,
                                 [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     sink.write(body->data(), body->size() / 2);
                                     return false;
                                 });
        break;
    }
    }
}

template <class Body, class Call>
void DevServer::Impl::post(const char* path, Call call) {
    server.Post(path, faulted([this, call](const httplib::Request& req, httplib::Response& res) {
                    // A POST without a body is read as "{}".
                    auto body = OrvelKit::Json::decode<Body>(req.body.empty() ? "{}" : req.body);
                    if (!body) {
                        sendError(res, ServiceError::badRequest("malformed request body: " +
                                                                body.error().description()));
                        return;
                    }
                    const std::string token = bearerToken(req);
                    sendResult(res, locked([&](DevService& service) {
                                   return call(service, token, *body);
                               }));
                }));
}

void DevServer::Impl::routes() {
    serveWebApp(server);

    server.Get("/healthz", faulted([](const httplib::Request&, httplib::Response& res) {
                   sendRecord(res, HealthAnswer{true});
               }));

    post<EmptyBody>("/pair/bootstrap", [](DevService& s, const std::string&, const EmptyBody&) {
        return s.bootstrap();
    });
    post<EmptyBody>("/pair/code", [](DevService& s, const std::string& token, const EmptyBody&) {
        return s.createPairingCode(token);
    });
    post<RedeemBody>("/pair/redeem", [](DevService& s, const std::string&, const RedeemBody& b) {
        return s.redeem(b);
    });
    post<EngageBody>("/engage", [](DevService& s, const std::string& token, const EngageBody& b) {
        return s.engage(token, b);
    });
    post<SubscribeBody>("/subscribe", [](DevService& s, const std::string& token,
                                         const SubscribeBody& b) { return s.subscribe(token, b); });
    post<RotateKeyBody>("/keys/rotate",
                        [](DevService& s, const std::string& token, const RotateKeyBody& b) {
                            return s.rotateKey(token, b);
                        });
    post<RenameChannelBody>("/channels/rename",
                            [](DevService& s, const std::string& token,
                               const RenameChannelBody& b) { return s.renameChannel(token, b); });
    post<RetireChannelBody>("/channels/retire",
                            [](DevService& s, const std::string& token,
                               const RetireChannelBody& b) { return s.retireChannel(token, b); });
    post<ReadBody>("/read", [](DevService& s, const std::string& token, const ReadBody& b) {
        return s.markRead(token, b);
    });
    post<DismissBody>("/dismiss", [](DevService& s, const std::string& token,
                                     const DismissBody& b) { return s.dismiss(token, b); });
    post<NotificationInput>("/publish",
                            [](DevService& s, const std::string& token,
                               const NotificationInput& b) { return s.publish(token, b); });
    post<PersistentCardUpdateInput>("/cards/publish", [](DevService& s, const std::string& token,
                                                         const PersistentCardUpdateInput& b) {
        return s.publishCard(token, b);
    });

    server.Get("/sync", faulted([this](const httplib::Request& req, httplib::Response& res) {
                   auto items = parseQuery(rawQuery(req));
                   if (!items) {
                       return sendError(res, ServiceError::badRequest(items.error()));
                   }
                   Cursors cursors[2];
                   const char* names[2] = {"after", "cards_after"};
                   for (int i = 0; i < 2; ++i) {
                       auto text = queryItem(*items, names[i]);
                       if (!text) {
                           return sendError(
                               res, ServiceError::badRequest("malformed query: " + text.error()));
                       }
                       auto parsed = parseCursors(text->value_or(""));
                       if (!parsed) {
                           return sendError(
                               res, ServiceError::badRequest(std::string("malformed ") + names[i] +
                                                             ": " + parsed.error()));
                       }
                       cursors[i] = std::move(*parsed);
                   }
                   const std::string token = bearerToken(req);
                   sendResult(res, locked([&](DevService& s) {
                                  return s.sync(token, cursors[0], cursors[1]);
                              }));
               }));

    server.Get(
        "/c/(.+)/pull", faulted([this](const httplib::Request& req, httplib::Response& res) {
            auto channel = pullChannel(req);
            if (!channel) {
                return sendError(res, ServiceError::badRequest(channel.error()));
            }
            auto items = parseQuery(rawQuery(req));
            if (!items) {
                return sendError(res, ServiceError::badRequest(items.error()));
            }
            auto text = queryItem(*items, "after");
            if (!text) {
                return sendError(res, ServiceError::badRequest("malformed query: " + text.error()));
            }
            std::uint64_t after = 0;
            if (*text) {
                auto parsed = parseSequence(**text);
                if (!parsed) {
                    return sendError(
                        res, ServiceError::badRequest("malformed after: " + parsed.error()));
                }
                after = *parsed;
            }
            const std::string token = bearerToken(req);
            sendResult(res, locked([&](DevService& s) { return s.pull(token, *channel, after); }));
        }));

    agentRoutes();

    // Requests that no route answered, and the library's own refusals
    // (malformed requests, bodies over the limit), get a JSON error body too.
    const httplib::Server::HandlerWithResponse errorBody = [](const httplib::Request& req,
                                                              httplib::Response& res) {
        if (!res.body.empty()) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        std::string message = refusalMessage(res.status);
        if (res.status == 404) {
            message = "unknown path";
            for (const Route& route : fixedRoutes) {
                if (route.path == req.path && route.method != req.method) {
                    res.status = 405;
                    res.set_header("Allow", std::string(route.method));
                    message = "use " + std::string(route.method) + " for this path";
                }
            }
        }
        res.set_content(errorJson(message), jsonType);
        return httplib::Server::HandlerResponse::Handled;
    };
    server.set_error_handler(errorBody);

    server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart() = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        auto& start = requestStart();
        double ms = 0;
        if (start != std::chrono::steady_clock::time_point{}) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
        }
        start = {};
        logLine(
            requestLogLine(req.method, req.path.empty() ? req.target : req.path, res.status, ms));
    });
    server.set_payload_max_length(options.limits.maxRequestBytes);
    // Every open connection holds a worker while it waits for its next
    // request, and a late answer (a delay fault) holds one while it waits:
    // enough workers that clients are not queued behind them.
    server.new_task_queue = [] { return new httplib::ThreadPool(workerThreads); };
}

// What agents use besides the publish endpoints: MCP and the guide.
void DevServer::Impl::agentRoutes() {
    const auto header = [](const httplib::Request& req,
                           const char* name) -> std::optional<std::string_view> {
        const auto found = req.headers.find(name);
        if (found == req.headers.end()) {
            return std::nullopt;
        }
        return std::string_view(found->second);
    };
    const httplib::Server::Handler mcpHandler = [this, header](const httplib::Request& req,
                                                               httplib::Response& res) {
        const McpReply reply =
            mcp.handle({req.method, req.body, header(req, "Mcp-Session-Id"),
                        header(req, "MCP-Protocol-Version"), header(req, "Origin")});
        res.status = reply.status;
        if (reply.sessionId) {
            res.set_header("Mcp-Session-Id", *reply.sessionId);
        }
        if (reply.allow) {
            res.set_header("Allow", *reply.allow);
        }
        if (!reply.body.empty()) {
            res.set_content(reply.body, jsonType);
        }
    };
    server.Post("/mcp", faulted(mcpHandler));
    server.Get("/mcp", faulted(mcpHandler));
    server.Delete("/mcp", faulted(mcpHandler));
    const auto* guide = OrvelEmbedded::find(OrvelEmbedded::agentGuideFiles(), "llms.txt");
    server.Get("/llms.txt", faulted([guide](const httplib::Request&, httplib::Response& res) {
                   res.set_content(std::string(guide->contents), "text/plain; charset=utf-8");
               }));
}

DevServer::DevServer(DevServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

DevServer::~DevServer() {
    stop();
}

OrvelKit::Expected<int, std::string> DevServer::start() {
    Impl& d = *impl_;
    if (d.started) {
        return OrvelKit::unexpected(std::string("the server was already started"));
    }
    d.started = true;

    if (!d.options.allowRemote && !isLoopback(d.options.host)) {
        return OrvelKit::unexpected(
            "refusing to listen on " + d.options.host +
            ": the service speaks plain HTTP, so device and publish tokens would cross the "
            "network readable. Keep it on loopback behind a TLS reverse proxy, or pass "
            "--allow-remote if the network is trusted.");
    }
    if (auto loaded = d.loadState(); !loaded) {
        return OrvelKit::unexpected(loaded.error());
    }

    d.routes();
    // The last socket offered for binding (shared: the library keeps the callback).
    auto listening = std::make_shared<socket_t>(INVALID_SOCKET);
    // Answers leave at once. With Nagle's algorithm on, a keep-alive client
    // that writes headers and body apart waited for its own delayed
    // acknowledgement (about 40 ms) before every answer. Accepted sockets
    // inherit the option from the listening one.
    d.server.set_socket_options([listening](socket_t socket) {
        httplib::default_socket_options(socket);
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        *listening = socket;
    });
    const int port = d.options.port == 0 ? d.server.bind_to_any_port(d.options.host)
                     : d.server.bind_to_port(d.options.host, d.options.port) ? d.options.port
                                                                             : -1;
    if (port <= 0) {
        return OrvelKit::unexpected("cannot listen on " + d.options.host + ":" +
                                    std::to_string(d.options.port));
    }
    // The library listens with a backlog of 5: a burst of new connections
    // overflowed it and the kernel dropped their SYNs, which clients resend
    // only after a second. Listening again on Linux just raises the backlog.
    ::listen(*listening, SOMAXCONN);
    d.port = port;
    d.thread = std::thread([&d] {
        d.server.listen_after_bind();
        d.finished = true;
    });
    // stop() only takes effect once the server runs: wait for that.
    while (!d.server.is_running() && !d.finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (d.finished) {
        d.thread.join();
        return OrvelKit::unexpected(std::string("the server stopped at once"));
    }
    return port;
}

void DevServer::stop() {
    Impl& d = *impl_;
    // Late answers go out at once instead of holding the server up.
    d.faults.interrupt();
    if (d.thread.joinable()) {
        d.server.stop();
        d.thread.join();
    }
    std::lock_guard lock(d.mutex);
    d.store.reset();
}

OrvelKit::Expected<void, std::string> DevServer::Impl::loadState() {
    std::optional<DevState> imported;
    if (options.stateFile) {
        auto file = StateFile(*options.stateFile).load();
        if (!file) {
            return OrvelKit::unexpected(file.error());
        }
        imported = std::move(*file);
    }
    bool importing = imported.has_value();
    if (options.dataDir) {
        auto opened = ServiceStore::open(*options.dataDir, options.syncEveryWrite);
        if (!opened) {
            return OrvelKit::unexpected(opened.error());
        }
        store = std::move(*opened);
        auto empty = store->empty();
        if (!empty) {
            return OrvelKit::unexpected(empty.error());
        }
        // A state file is imported once, into a database that has nothing yet.
        importing = importing && *empty;
        if (!importing) {
            auto stored = store->load(toMillis(std::chrono::system_clock::now()));
            if (!stored) {
                return OrvelKit::unexpected(stored.error());
            }
            if (auto restored = service.restore(std::move(*stored)); !restored) {
                return OrvelKit::unexpected("the database is inconsistent: " + restored.error());
            }
        }
    }
    if (importing) {
        if (auto restored = service.restore(std::move(*imported)); !restored) {
            return OrvelKit::unexpected(options.stateFile->string() + ": " + restored.error());
        }
        if (store) {
            if (auto written = store->writeAll(service.state()); !written) {
                return OrvelKit::unexpected("cannot import " + options.stateFile->string() + ": " +
                                            written.error());
            }
        }
    }
    return {};
}

FaultInjector& DevServer::faults() {
    return impl_->faults;
}

std::string DevServer::baseURL() const {
    const std::string& host = impl_->options.host;
    const bool ipv6 = host.find(':') != std::string::npos;
    return "http://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(impl_->port);
}

} // namespace OrvelDev
