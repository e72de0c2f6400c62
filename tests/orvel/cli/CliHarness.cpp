#include "tests/orvel/cli/CliHarness.h"

#include "tests/support/Records.h"

namespace OrvelTest {

namespace {

using namespace OrvelProtocol;

Notification note(std::string channel, std::uint64_t seq, std::string sender, std::string title,
                  std::string status, std::string createdAt, Urgency urgency = Urgency::normal) {
    auto n = notification(channel, seq, std::move(status), std::move(createdAt));
    n.id = "ntf_" + channel.substr(3) + "_" + std::to_string(seq);
    n.sender = std::move(sender);
    n.title = std::move(title);
    n.urgency = urgency;
    return n;
}

PersistentCardDefinition spendDefinition() {
    PersistentCardDefinition definition;
    definition.title = "Cloud spend";
    definition.renderer = "metric";
    definition.fields = {{"total", "money", "Today", "primary"},
                         {"runs", "number", "Agent runs", std::nullopt}};
    return definition;
}

} // namespace

OrvelDev::DevState Seed::state() {
    OrvelDev::DevState state;
    state.accounts.push_back(
        {accountId, "2026-12-01T00:00:00.000Z", {{buildChannel, 1, {}}, {opsChannel, 0, {}}}});
    state.devices.push_back({deviceToken, accountId, "2026-12-01T00:00:00.000Z"});

    OrvelDev::ChannelState build;
    build.id = buildChannel;
    build.name = "Build bot";
    build.owner = accountId;
    build.createdAt = "2026-12-01T00:00:00.000Z";
    build.notifications = {
        note(buildChannel, 1, "ci", "Build #480 started", "running", "2026-12-06T08:00:00Z"),
        note(buildChannel, 2, "ci", "Build #480 passed", "done", "2026-12-06T09:00:00Z"),
        note(buildChannel, 3, "ci", "Build #481 failed", "failed", "2026-12-06T09:50:00Z",
             Urgency::high),
    };

    OrvelDev::ChannelState ops;
    ops.id = opsChannel;
    ops.owner = accountId;
    ops.createdAt = "2026-12-01T00:00:00.000Z";
    ops.notifications = {
        note(opsChannel, 1, "indexer", "Reindexing the archive", "running", "2026-12-05T20:00:00Z"),
        note(opsChannel, 2, "research", "Overnight summary", "info", "2026-12-06T09:30:00Z"),
        note(opsChannel, 3, "deploy", "Approve the production deploy", "need",
             "2026-12-06T09:55:00Z", Urgency::critical),
    };
    ops.notifications[1].deliverWhen = "morning";
    auto& deploy = ops.notifications[2];
    deploy.body = "Release 1.4.2 is staged.\nApprove it in the console.";
    deploy.details = "Rollback plan: redeploy 1.4.1.";
    deploy.fields = {{"version", "1.4.2"}};
    deploy.links = {{"Console", "https://deploy.example/approve"}};

    auto snapshot = cardUpdate(opsChannel, 1, "spend", "2026-12-06T09:00:00Z");
    snapshot.id = "cu_1";
    snapshot.updateId = "spend-1";
    snapshot.definition = spendDefinition();
    snapshot.operation.values = {
        {"USD", "$41.20", "total", "money", std::nullopt, std::nullopt, "41.20"},
        {std::nullopt, "12", "runs", "number", std::nullopt, "runs", "12"},
    };
    PersistentCardUpdate delta = snapshot;
    delta.id = "cu_2";
    delta.updateId = "spend-2";
    delta.cardSeq = 2;
    delta.createdAt = "2026-12-06T09:40:00Z";
    delta.operation = {};
    delta.operation.kind = "delta";
    delta.operation.deltas = {{"total", "3.75"}, {"runs", "1"}};
    ops.cardUpdates = {snapshot, delta};

    state.channels = {build, ops};
    state.keys.push_back({"key_build", buildToken, buildChannel, "ci", "2026-12-01T00:00:00.000Z",
                          std::nullopt, false, std::nullopt});
    state.keys.push_back({"key_ops", opsToken, opsChannel, "deploy", "2026-12-01T00:00:00.000Z",
                          std::nullopt, false, std::nullopt});
    return state;
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

} // namespace OrvelTest
