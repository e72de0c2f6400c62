#include "tests/orvel/cli/CliHarness.h"

namespace OrvelTest {

OrvelDev::DevState Seed::state() {
    const auto loaded = OrvelDev::StateFile(ORVEL_CLI_SEEDED_STATE).load();
    EXPECT_TRUE(loaded && *loaded) << (loaded ? "no file " ORVEL_CLI_SEEDED_STATE : loaded.error());
    return loaded && *loaded ? **loaded : OrvelDev::DevState{};
}

CliHarness::CliHarness() = default;

CliHarness::~CliHarness() {
    stopService();
}

std::string CliHarness::startService(const std::optional<OrvelDev::DevState>& state) {
    stopService();
    OrvelDev::DevServerOptions options;
    options.port = 0;
    if (state) {
        const auto file = temporary / "service.json";
        std::filesystem::remove(file);
        const auto saved = OrvelDev::StateFile(file).save(*state);
        EXPECT_TRUE(saved) << (saved ? "" : saved.error());
        options.stateFile = file;
    }
    server_ = std::make_unique<OrvelDev::DevServer>(options);
    const auto port = server_->start();
    EXPECT_TRUE(port) << (port ? "" : port.error());
    serviceURL_ = server_->baseURL();
    return serviceURL_;
}

void CliHarness::stopService() {
    if (server_) {
        // Closing the client's kept-alive connections first lets the service
        // stop at once.
        transport = std::make_shared<OrvelKit::CurlTransport>();
        server_->stop();
        server_.reset();
    }
}

void CliHarness::pairAsSeededDesktop() {
    OrvelKit::FileConfigStore store(dataDirectory / "config.json");
    OrvelKit::AppConfig config;
    config.serverURL = serviceURL_;
    config.deviceToken = Seed::deviceToken;
    config.accountId = Seed::accountId;
    config.channels = {{Seed::buildChannel, Seed::buildToken, "2026-12-01T00:00:00Z"},
                       {Seed::opsChannel, Seed::opsToken, "2026-12-01T00:00:00Z"}};
    store.save(config);
}

OrvelKit::AppConfig CliHarness::savedConfig() const {
    return OrvelKit::FileConfigStore(dataDirectory / "config.json").load().value();
}

CliResult CliHarness::run(std::vector<std::string> arguments) {
    out.str("");
    err.str("");
    const Orvel::Cli::CliEnvironment environment{
        .loop = loop,
        .clock = clock,
        .calendar = calendar,
        .transport = transport,
        .defaultDataDirectory = dataDirectory,
        .out = out,
        .err = err,
        .color = color,
        .settleLimit = settleLimit,
    };
    CliResult result;
    result.status = Orvel::Cli::run(arguments, environment);
    result.out = out.str();
    result.err = err.str();
    return result;
}

CliResult CliHarness::cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", dataDirectory.string()});
    return run(std::move(arguments));
}

std::string CliHarness::ok(std::vector<std::string> arguments) {
    const auto result = cli(std::move(arguments));
    EXPECT_EQ(result.status, Orvel::Cli::exitSuccess) << result;
    EXPECT_EQ(result.err, "");
    return result.out;
}

} // namespace OrvelTest
