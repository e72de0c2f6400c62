// The service under load, on loopback: devices syncing on the desktop's
// 20-second cycle and agents publishing, against an in-process service.
//
//   bench_service_load [--devices 1000] [--agents 50] [--steady 20] [--burst 8]
//
// Phase "steady": every device syncs once per 20 s, spread evenly (1,000
// devices make 50 syncs per second), and every agent publishes once per
// second. Phase "burst": the devices keep their schedule while every agent
// publishes back to back, which gives the publish rate the service sustains.
// Each device follows one agent's channel and syncs with its cursor, as the
// app does. Every request is a fresh connection (a device's 20-second gap
// outlives any keep-alive). Sync latency is measured from the moment the
// sync was due, so a late start counts against the service.

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/ServiceRecords.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace OrvelProtocol;

struct Answer {
    int status = 0;
    std::string body;
};

// One HTTP/1.1 request on a fresh connection, read to the end.
Answer exchange(int port, const std::string& method, const std::string& target,
                const std::string& token, const std::string& body) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return {};
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Answer answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string message =
            method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + "Connection: close\r\n";
        if (!token.empty()) {
            message += "Authorization: Bearer " + token + "\r\n";
        }
        if (method == "POST") {
            message +=
                "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n";
        }
        message += "\r\n" + body;
        std::size_t sent = 0;
        while (sent < message.size()) {
            const auto n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                break;
            }
            sent += static_cast<std::size_t>(n);
        }
        std::string response;
        char buffer[16384];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
            response.append(buffer, static_cast<std::size_t>(n));
        }
        if (response.starts_with("HTTP/1.1 ") && response.size() > 12) {
            answer.status = std::atoi(response.c_str() + 9);
            const auto head = response.find("\r\n\r\n");
            answer.body = head == std::string::npos ? "" : response.substr(head + 4);
        }
    }
    ::close(fd);
    return answer;
}

template <class R, class B>
R call(int port, const std::string& path, const B& body, const std::string& token = {}) {
    const Answer answer = exchange(port, "POST", path, token, OrvelKit::Json::encode(body).value());
    auto decoded = OrvelKit::Json::decode<R>(answer.body);
    if (answer.status != 200 || !decoded) {
        std::cerr << "setup failed: POST " << path << " answered " << answer.status << '\n';
        std::exit(1);
    }
    return *decoded;
}

struct Device {
    std::string token;
    std::string channel;
    std::uint64_t cursor = 0;
    std::mutex mutex;
};

struct Agent {
    std::string token;
};

struct Phase {
    explicit Phase(const char* phaseName) : name(phaseName) {}

    const char* name;
    std::vector<double> syncMs;
    std::atomic<std::uint64_t> publishes{0};
    std::atomic<std::uint64_t> failures{0};
    double seconds = 0;
    double cpuSeconds = 0; // the whole process: service and load generator
    std::mutex mutex;
};

void sync(int port, Device& device, Clock::time_point due, Phase& phase) {
    std::lock_guard lock(device.mutex);
    std::string target = "/sync";
    if (device.cursor > 0) {
        target += "?after=" + device.channel + ":" + std::to_string(device.cursor);
    }
    const Answer answer = exchange(port, "GET", target, device.token, {});
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - due).count();
    auto decoded = OrvelKit::Json::decode<SyncResponse>(answer.body);
    if (answer.status != 200 || !decoded) {
        ++phase.failures;
        return;
    }
    for (const auto& entry : decoded->channels) {
        for (const auto& note : entry.notifications) {
            device.cursor = std::max(device.cursor, note.seq);
        }
    }
    std::lock_guard record(phase.mutex);
    phase.syncMs.push_back(ms);
}

void publish(int port, const Agent& agent, std::uint64_t n, Phase& phase) {
    NotificationInput input;
    input.title = "Build " + std::to_string(n) + " finished";
    input.status = "done";
    input.body = "All 1,204 tests passed in 3 min 12 s.";
    input.fields = {{"branch", "main"}, {"commit", "4f2a9c1"}};
    const Answer answer =
        exchange(port, "POST", "/publish", agent.token, OrvelKit::Json::encode(input).value());
    ++(answer.status == 200 ? phase.publishes : phase.failures);
}

double cpuTime() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the phase: the devices' syncs as scheduled, and either the agents'
// paced publishes or, with `burst`, publishes back to back.
void run(int port, std::vector<Device>& devices, const std::vector<Agent>& agents, double seconds,
         bool burst, Phase& phase) {
    struct Event {
        Clock::duration at;
        std::size_t device; // or agent, for publishes
        bool isSync;
    };
    std::vector<Event> events;
    const auto cycle = Clock::duration(std::chrono::seconds(20));
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (std::size_t d = 0; d < devices.size(); ++d) {
        for (auto at = cycle * d / devices.size(); at < length; at += cycle) {
            events.push_back({at, d, true});
        }
    }
    if (!burst) {
        for (std::size_t a = 0; a < agents.size(); ++a) {
            for (auto at = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) *
                           a / agents.size();
                 at < length; at += std::chrono::seconds(1)) {
                events.push_back({at, a, false});
            }
        }
    }
    std::sort(events.begin(), events.end(),
              [](const Event& x, const Event& y) { return x.at < y.at; });

    const auto cpuStart = cpuTime();
    const auto start = Clock::now();
    std::atomic<std::size_t> next{0};
    std::atomic<std::uint64_t> serial{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 16; ++t) {
        threads.emplace_back([&] {
            for (std::size_t i; (i = next++) < events.size();) {
                const Event& event = events[i];
                const auto due = start + event.at;
                std::this_thread::sleep_until(due);
                if (event.isSync) {
                    sync(port, devices[event.device], due, phase);
                } else {
                    publish(port, agents[event.device], serial++, phase);
                }
            }
        });
    }
    if (burst) {
        for (const Agent& agent : agents) {
            threads.emplace_back([&] {
                while (Clock::now() - start < length) {
                    publish(port, agent, serial++, phase);
                }
            });
        }
    }
    for (auto& thread : threads) {
        thread.join();
    }
    phase.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    phase.cpuSeconds = cpuTime() - cpuStart;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void report(const Phase& phase) {
    std::printf("%-7s %6.1f s  publishes/s %8.1f  syncs %6zu  sync ms median %6.2f  p99 %7.2f  "
                "max %7.2f  failures %llu  process CPU %.2f cores\n",
                phase.name, phase.seconds, static_cast<double>(phase.publishes) / phase.seconds,
                phase.syncMs.size(), percentile(phase.syncMs, 0.5), percentile(phase.syncMs, 0.99),
                percentile(phase.syncMs, 1.0), static_cast<unsigned long long>(phase.failures),
                phase.cpuSeconds / phase.seconds);
}

} // namespace

int main(int argc, char** argv) {
    std::size_t deviceCount = 1000;
    std::size_t agentCount = 50;
    double steadySeconds = 20;
    double burstSeconds = 8;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const double value = std::atof(argv[i + 1]);
        if (option == "--devices") {
            deviceCount = static_cast<std::size_t>(value);
        } else if (option == "--agents") {
            agentCount = static_cast<std::size_t>(value);
        } else if (option == "--steady") {
            steadySeconds = value;
        } else if (option == "--burst") {
            burstSeconds = value;
        } else {
            std::cerr << "usage: bench_service_load [--devices N] [--agents N] [--steady S] "
                         "[--burst S]\n";
            return 2;
        }
    }
    deviceCount = std::max(deviceCount, agentCount);

    OrvelDev::DevServer server({});
    const auto port = server.start();
    if (!port) {
        std::cerr << port.error() << '\n';
        return 1;
    }

    // Each agent's channel belongs to one device; the other devices follow
    // the channels in turn.
    std::vector<Device> devices(deviceCount);
    std::vector<Agent> agents(agentCount);
    std::vector<Engagement> channels;
    for (std::size_t d = 0; d < deviceCount; ++d) {
        devices[d].token =
            call<DeviceCredentials>(*port, "/pair/bootstrap", EmptyBody{}).deviceToken;
        if (d < agentCount) {
            channels.push_back(call<Engagement>(
                *port, "/engage", EngageBody{"agent-" + std::to_string(d)}, devices[d].token));
            agents[d].token = channels.back().token;
        } else {
            const Engagement& followed = channels[d % agentCount];
            call<Subscription>(*port, "/subscribe", SubscribeBody{followed.channel, followed.token},
                               devices[d].token);
        }
        devices[d].channel = channels[d % agentCount].channel;
    }
    std::printf("%zu devices, %zu agents, loopback port %d, %u hardware threads\n", deviceCount,
                agentCount, *port, std::thread::hardware_concurrency());

    Phase steady{"steady"};
    run(*port, devices, agents, steadySeconds, false, steady);
    report(steady);
    Phase burst{"burst"};
    run(*port, devices, agents, burstSeconds, true, burst);
    report(burst);
    server.stop();
    return 0;
}
