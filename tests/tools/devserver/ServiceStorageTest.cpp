// The service's database: everything acknowledged is there after a restart,
// after a SIGKILL in the middle of publishing, and after a schema migration.

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"
#include "tests/tools/McpClient.h"
#include "tools/devserver/ServiceStore.h"
#include "tools/devserver/StateFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <sqlite3.h>
#include <thread>

namespace OrvelDev {
namespace {

using namespace OrvelProtocol;
using namespace OrvelDev::Testing;

DevServerOptions stored(const std::filesystem::path& directory) {
    DevServerOptions options;
    options.dataDir = directory;
    return options;
}

TEST(ServiceStorage, ReopensWithEveryAcknowledgedChange) {
    OrvelTest::TemporaryDirectory temporary;
    Account account;
    PairingCode code;
    {
        RunningServer http(stored(temporary / "data"));
        ASSERT_TRUE(http.started());
        account = http.account();
        const auto& [device, engagement] = account;
        EXPECT_EQ(http.publish(engagement.token, "one"), 1u);
        EXPECT_EQ(http.publish(engagement.token, "two"), 2u);
        http.call<CardPublishAck>("/cards/publish", cardUpdate("u1"), engagement.token);
        http.call<ReadAck>("/read", ReadBody{engagement.channel, 1}, device.deviceToken);
        http.call<RenameChannelAck>("/channels/rename", RenameChannelBody{engagement.channel, "CI"},
                                    device.deviceToken);
        code = http.call<PairingCode>("/pair/code", EmptyBody{}, device.deviceToken);
    }
    EXPECT_EQ(OrvelTest::modeOf(temporary / "data"), 0700u);
    EXPECT_EQ(OrvelTest::modeOf(temporary / "data" / std::string(ServiceStore::fileName)), 0600u);

    RunningServer http(stored(temporary / "data"));
    ASSERT_TRUE(http.started());
    const auto phone = http.call<DeviceCredentials>("/pair/redeem", RedeemBody{code.code});
    const SyncResponse sync = http.sync(phone.deviceToken);
    ASSERT_EQ(sync.channels.size(), 1u);
    EXPECT_EQ(sync.channels[0].name, "CI");
    EXPECT_EQ(sync.channels[0].readSeq, 1u);
    ASSERT_EQ(sync.channels[0].notifications.size(), 2u);
    EXPECT_EQ(sync.channels[0].notifications[1].title, "two");
    EXPECT_EQ(sync.channels[0].cardUpdates.size(), 1u);
    EXPECT_EQ(http.publish(account.engagement.token, "three"), 3u);
}

// The port an orvel-server child announced.
int listeningPort(OrvelTest::ChildProcess& server) {
    const std::regex listening("listening on http://127\\.0\\.0\\.1:([0-9]+)");
    std::smatch match;
    EXPECT_TRUE(server.readUntil(
        [&](const std::string& line) { return std::regex_search(line, match, listening); },
        std::chrono::seconds(20)))
        << server.output();
    return match.empty() ? 1 : std::stoi(match[1]);
}

std::string json(const auto& record) {
    return OrvelKit::Json::encode(record).value();
}

// A device and its channel, made over `client`.
Account account(httplib::Client& client) {
    Account made;
    made.device = OrvelTest::decodedAnswer<DeviceCredentials>(
        client.Post("/pair/bootstrap", "{}", "application/json"));
    made.engagement = OrvelTest::decodedAnswer<Engagement>(
        client.Post("/engage", {{"Authorization", "Bearer " + made.device.deviceToken}},
                    json(EngageBody{}), "application/json"));
    return made;
}

// The updates a device's sync holds on its one channel.
std::vector<Notification> synced(httplib::Client& client, const std::string& deviceToken) {
    const auto sync = OrvelTest::decodedAnswer<SyncResponse>(
        client.Get("/sync", {{"Authorization", "Bearer " + deviceToken}}));
    EXPECT_EQ(sync.channels.size(), 1u);
    return sync.channels.empty() ? std::vector<Notification>{} : sync.channels[0].notifications;
}

TEST(ServiceStorage, KeepsEveryAcknowledgedPublishThroughAKill) {
    OrvelTest::TemporaryDirectory temporary;
    const std::vector<std::string> command{
        ORVEL_SERVER_PROGRAM, "--data-dir", (temporary / "data").string(), "--port", "0",
        "--publish-rate",     "0"};
    Account made;
    std::atomic<std::uint64_t> acknowledged{0};
    {
        OrvelTest::ChildProcess server(command);
        httplib::Client client("127.0.0.1", listeningPort(server));
        made = account(client);
        ASSERT_FALSE(made.engagement.token.empty());
        // Publishes until the service dies; counts the answers that said 200.
        std::thread agent([&] {
            const httplib::Headers asAgent{{"Authorization", "Bearer " + made.engagement.token}};
            for (std::uint64_t i = 1; i <= 5000; ++i) {
                auto answer = client.Post("/publish", asAgent, json(update(std::to_string(i))),
                                          "application/json");
                if (!answer || answer->status != 200) {
                    return;
                }
                acknowledged = i;
            }
        });
        EXPECT_TRUE(OrvelTest::eventually([&] { return acknowledged >= 200; }));
        server.kill();
        agent.join();
    }
    ASSERT_GE(acknowledged.load(), 200u);
    ASSERT_LT(acknowledged.load(), 5000u) << "the kill came after the loop";

    OrvelTest::ChildProcess server(command);
    httplib::Client client("127.0.0.1", listeningPort(server));
    const auto notifications = synced(client, made.device.deviceToken);
    // Every acknowledged update, in order; at most the one in flight beyond.
    ASSERT_GE(notifications.size(), acknowledged.load());
    EXPECT_LE(notifications.size(), acknowledged.load() + 1);
    for (std::size_t i = 0; i < notifications.size(); ++i) {
        EXPECT_EQ(notifications[i].seq, i + 1);
        EXPECT_EQ(notifications[i].title, std::to_string(i + 1));
    }
}

// A write that fails (here: the file size limit) is refused, not acknowledged,
// over HTTP or MCP, and the service forgets the update it could not store.
TEST(ServiceStorage, RefusesWhatItCannotStore) {
    OrvelTest::TemporaryDirectory temporary;
    const std::string data = (temporary / "data").string();
    OrvelTest::ChildProcess limited(
        {"/bin/bash", "-c",
         "trap '' XFSZ; ulimit -f 256; exec \"$0\" --data-dir \"$1\" --port 0 --publish-rate 0",
         ORVEL_SERVER_PROGRAM, data});
    const int port = listeningPort(limited);
    httplib::Client client("127.0.0.1", port);
    const Account made = account(client);
    auto big = update("big");
    big.body = std::string(60'000, 'b');
    std::uint64_t acknowledged = 0;
    int status = 0;
    std::string refusal;
    for (int i = 0; i < 20 && status != 503; ++i) {
        const auto answer =
            client.Post("/publish", {{"Authorization", "Bearer " + made.engagement.token}},
                        json(big), "application/json");
        ASSERT_TRUE(answer);
        status = answer->status;
        refusal = answer->body;
        acknowledged += status == 200;
    }
    EXPECT_EQ(status, 503) << refusal;
    EXPECT_NE(refusal.find("cannot store"), std::string::npos) << refusal;
    // An agent over MCP is refused the same way.
    McpClient agent(port);
    agent.handshake();
    const auto viaMcp = agent.send(R"({"channel_key":")" + made.engagement.token +
                                   R"(","title":"big","body":")" + *big.body + "\"}");
    EXPECT_TRUE(viaMcp.isToolError()) << viaMcp.body;
    EXPECT_EQ(synced(client, made.device.deviceToken).size(), acknowledged);
    limited.kill();

    OrvelTest::ChildProcess server({ORVEL_SERVER_PROGRAM, "--data-dir", data, "--port", "0"});
    httplib::Client again("127.0.0.1", listeningPort(server));
    EXPECT_EQ(synced(again, made.device.deviceToken).size(), acknowledged);
}

// A database of the first schema (its tables, without constraints that do not
// matter here), then opened by the current one.
TEST(ServiceStorage, MigratesTheFirstSchemaAndRefusesANewerOne) {
    OrvelTest::TemporaryDirectory temporary;
    const auto path = temporary / std::string(ServiceStore::fileName);
    const auto nowMs = toMillis(std::chrono::system_clock::now());
    const auto record = [](const auto& r) { return OrvelKit::Json::encode(r).value(); };
    const std::string sql = R"(
        CREATE TABLE accounts (id TEXT PRIMARY KEY, record TEXT NOT NULL) WITHOUT ROWID;
        CREATE TABLE devices (token TEXT PRIMARY KEY, account, record) WITHOUT ROWID;
        CREATE TABLE pairing_codes (code TEXT PRIMARY KEY, record TEXT NOT NULL) WITHOUT ROWID;
        CREATE TABLE channels (id TEXT PRIMARY KEY, owner, record) WITHOUT ROWID;
        CREATE TABLE keys (token TEXT PRIMARY KEY, channel, record) WITHOUT ROWID;
        CREATE TABLE notifications (channel TEXT, seq INTEGER, record TEXT,
            PRIMARY KEY (channel, seq)) WITHOUT ROWID;
        CREATE TABLE card_updates (channel TEXT, card_seq INTEGER, record TEXT,
            PRIMARY KEY (channel, card_seq)) WITHOUT ROWID;
        INSERT INTO accounts VALUES ('acct_1', '{"id":"acct_1","createdAt":"2026-01-01"}');
        INSERT INTO devices VALUES ('orvel_dev_1', 'acct_1',
            '{"token":"orvel_dev_1","accountId":"acct_1","createdAt":"2026-01-01"}');
        PRAGMA user_version = 1;
        INSERT INTO pairing_codes VALUES )" +
                            std::string("('LIVECODE', '") +
                            record(PairingCodeState{"LIVECODE", "acct_1", nowMs + 600'000}) +
                            "'), ('OLDCODE1', '" +
                            record(PairingCodeState{"OLDCODE1", "acct_1", nowMs - 1}) + "')";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);

    {
        RunningServer http(stored(temporary.path()));
        ASSERT_TRUE(http.started());
        EXPECT_EQ(http.sync("orvel_dev_1").channels.size(), 0u);
        EXPECT_EQ(http.post("/pair/redeem", R"({"code":"OLDCODE1"})")->status, 404);
        http.call<DeviceCredentials>("/pair/redeem", RedeemBody{"LIVECODE"});
    }
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(version, 0), ServiceStore::schemaVersion);
    sqlite3_finalize(version);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    DevServer newer(stored(temporary.path()));
    const auto refused = newer.start();
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("newer than this program knows"), std::string::npos);
}

TEST(ServiceStorage, ImportsAStateFileIntoAnEmptyDatabaseOnly) {
    OrvelTest::TemporaryDirectory temporary;
    DevService original;
    const auto device = value(original.bootstrap());
    const auto engagement = value(original.engage(device.deviceToken, EngageBody{}));
    value(original.publish(engagement.token, update("kept")));
    ASSERT_TRUE(StateFile(temporary / "state.json").save(original.state()));

    for (int start = 0; start < 2; ++start) {
        // The second start finds the database filled and leaves it as it is.
        auto options = stored(temporary / "data");
        options.stateFile = temporary / "state.json";
        RunningServer http(std::move(options));
        ASSERT_TRUE(http.started());
        EXPECT_EQ(http.publish(engagement.token, "next"), 2u + start);
    }
}

} // namespace
} // namespace OrvelDev
