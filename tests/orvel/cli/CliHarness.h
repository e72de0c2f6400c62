#pragma once

// orvelctl's commands run in-process against a real development service on a
// free loopback port, with the clock and the calendar pinned: a data
// directory, an event loop, the libcurl transport, and the output of each run.
//
// The service starts from a state file, so every update has a known time and
// the output of the read commands is the same on every run.

#include "orvel/cli/Commands.h"
#include "orvelkit/async/EventLoop.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/http/CurlTransport.h"
#include "tests/support/TemporaryDirectory.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/StateFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace OrvelTest {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::ostream& operator<<(std::ostream& stream, const CliResult& result) {
    return stream << "exit " << result.status << "\n--- out\n"
                  << result.out << "--- err\n"
                  << result.err;
}

// The seeded account (SeededMorning.json, a state file of the development
// service): two channels it owns, this desktop's device, and a morning's worth
// of updates and one card. The names below are the file's.
namespace Seed {
inline constexpr const char* deviceToken = "orvel_dev_seeded_desktop";
inline constexpr const char* accountId = "acct_seeded";
inline constexpr const char* buildChannel = "ch_build";
inline constexpr const char* opsChannel = "ch_ops";
inline constexpr const char* buildToken = "orvel_pub_seeded_build_key";
inline constexpr const char* opsToken = "orvel_pub_seeded_ops_key";

OrvelDev::DevState state();
} // namespace Seed

class CliHarness {
public:
    // 2026-12-06T10:00:00Z, a Sunday morning in UTC.
    static constexpr std::int64_t start = 1'796'551'200;

    CliHarness();
    ~CliHarness();

    // Starts the service from `state` (none: empty) and returns its base URL.
    std::string startService(const std::optional<OrvelDev::DevState>& state = Seed::state());
    void stopService();
    const std::string& serviceURL() const { return serviceURL_; }

    // Writes a configuration that makes the data directory the seeded desktop.
    void pairAsSeededDesktop();
    OrvelKit::AppConfig savedConfig() const;

    // The output of the run in progress is in `out` and `err` while it runs.
    CliResult run(std::vector<std::string> arguments);
    // With "--data-dir <dir>" put in front.
    CliResult cli(std::vector<std::string> arguments);
    // What cli() printed, which must succeed without a word on standard error.
    std::string ok(std::vector<std::string> arguments);

    TemporaryDirectory temporary;
    std::filesystem::path dataDirectory = temporary / "data";
    OrvelKit::EventLoop loop;
    Orvel::ManualClock clock{OrvelKit::Date::fromSecondsSinceEpoch(start)};
    OrvelKit::Calendar calendar{"UTC", "en_US"};
    std::shared_ptr<OrvelKit::HTTPTransport> transport =
        std::make_shared<OrvelKit::CurlTransport>();
    std::chrono::milliseconds settleLimit{5000};
    bool color = false;
    std::ostringstream out;
    std::ostringstream err;

private:
    std::unique_ptr<OrvelDev::DevServer> server_;
    std::string serviceURL_;
};

} // namespace OrvelTest
