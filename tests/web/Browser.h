#pragma once

// Headless Chromium driven over WebDriver (chromedriver, started per
// browser): open pages, run scripts in them, wait for what they show.

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"

#include <httplib.h>
#include <simdjson.h>

#include <filesystem>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace OrvelTest {

class Browser {
public:
    static constexpr const char* driverPath = "/usr/bin/chromedriver";
    static constexpr const char* browserPath = "/usr/bin/chromium";

    static bool available() {
        return std::filesystem::exists(driverPath) && std::filesystem::exists(browserPath);
    }

    explicit Browser(const std::filesystem::path& profile) {
        const int port = freePort();
        driver_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{driverPath, "--port=" + std::to_string(port), "--silent"});
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port);
        client_->set_read_timeout(60, 0);
        if (!eventually([this] { return client_->Get("/status"); }, std::chrono::seconds(20))) {
            return;
        }
        const std::string capabilities =
            R"({"capabilities":{"alwaysMatch":{"browserName":"chrome","goog:chromeOptions":{)"
            R"("binary":")" +
            std::string(browserPath) +
            R"(","args":["--headless=new","--no-sandbox","--disable-gpu",)"
            R"("--disable-dev-shm-usage","--no-first-run","--window-size=1000,800",)"
            R"("--user-data-dir=)" +
            profile.string() + R"("]}}}})";
        auto answer = command("POST", "/session", capabilities);
        if (answer) {
            session_ = std::string(std::string_view((*answer)["sessionId"]));
        }
    }

    ~Browser() {
        if (!session_.empty()) {
            client_->Delete(("/session/" + session_).c_str());
        }
    }
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    bool started() const { return !session_.empty(); }

    void open(const std::string& url) {
        command("POST", "/session/" + session_ + "/url", R"({"url":")" + url + R"("})");
    }

    // Runs `body` (a function body that returns a value) in the page; the
    // value as JSON text ("" when the script failed).
    std::string run(const std::string& body) {
        std::string escaped;
        for (const char c : body) {
            if (c == '"' || c == '\\') {
                escaped.push_back('\\');
            }
            escaped.push_back(c == '\n' ? ' ' : c);
        }
        auto answer = command("POST", "/session/" + session_ + "/execute/sync",
                              R"({"script":")" + escaped + R"(","args":[]})");
        return answer ? simdjson::minify(*answer) : std::string();
    }

    // Waits until `expression` is true in the page.
    bool waitFor(const std::string& expression,
                 std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        return eventually([&] { return run("return Boolean(" + expression + ");") == "true"; },
                          limit);
    }

private:
    static int freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

    // The "value" of a WebDriver answer; nothing for an error.
    std::optional<simdjson::dom::element>
    command(const std::string& method, const std::string& path, const std::string& body) {
        auto result = method == "POST"
                          ? client_->Post(path.c_str(), body, "application/json; charset=utf-8")
                          : client_->Get(path.c_str());
        if (!result || result->status != 200) {
            return std::nullopt;
        }
        answer_ = result->body;
        simdjson::dom::element value;
        if (parser_.parse(answer_)["value"].get(value) != simdjson::SUCCESS) {
            return std::nullopt;
        }
        return value;
    }

    std::unique_ptr<ChildProcess> driver_;
    std::unique_ptr<httplib::Client> client_;
    std::string session_;
    std::string answer_;
    simdjson::dom::parser parser_;
};

} // namespace OrvelTest
