#include "tools/devserver/ServiceStore.h"

#include "orvelkit/json/Json.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OrvelDev {

using OrvelKit::unexpected;

namespace {

// Each step takes the schema from the version before it to its own number.
// Records are the JSON of the state records, beside the columns that index them.
constexpr const char* migrations[] = {
    // 1: the tables.
    R"(CREATE TABLE accounts (id TEXT PRIMARY KEY, record TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE devices (token TEXT PRIMARY KEY, account TEXT NOT NULL,
                             record TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE pairing_codes (code TEXT PRIMARY KEY, record TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE channels (id TEXT PRIMARY KEY, owner TEXT NOT NULL,
                              record TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE keys (token TEXT PRIMARY KEY, channel TEXT NOT NULL,
                          record TEXT NOT NULL) WITHOUT ROWID;
       CREATE TABLE notifications (channel TEXT NOT NULL, seq INTEGER NOT NULL,
                                   record TEXT NOT NULL, PRIMARY KEY (channel, seq)) WITHOUT ROWID;
       CREATE TABLE card_updates (channel TEXT NOT NULL, card_seq INTEGER NOT NULL,
                                  record TEXT NOT NULL,
                                  PRIMARY KEY (channel, card_seq)) WITHOUT ROWID;)",
    // 2: pairing codes carry their expiry as a column, so expired ones are
    // dropped at start without decoding every record.
    R"(ALTER TABLE pairing_codes ADD COLUMN expires_at_ms INTEGER NOT NULL DEFAULT 0;
       UPDATE pairing_codes SET expires_at_ms = json_extract(record, '$.expiresAtMs');)",
};
static_assert(std::size(migrations) == ServiceStore::schemaVersion);

constexpr const char* putAccount = "INSERT OR REPLACE INTO accounts VALUES (?, ?)";
constexpr const char* putDevice = "INSERT OR REPLACE INTO devices VALUES (?, ?, ?)";
constexpr const char* putCode =
    "INSERT OR REPLACE INTO pairing_codes (code, record, expires_at_ms) VALUES (?, ?, ?)";
constexpr const char* removeCode = "DELETE FROM pairing_codes WHERE code = ?";
constexpr const char* putChannel = "INSERT OR REPLACE INTO channels VALUES (?, ?, ?)";
constexpr const char* putKey = "INSERT OR REPLACE INTO keys VALUES (?, ?, ?)";
// Updates are only ever added: a second row for the same number is an error.
constexpr const char* addNotification = "INSERT INTO notifications VALUES (?, ?, ?)";
constexpr const char* addCardUpdate = "INSERT INTO card_updates VALUES (?, ?, ?)";

template <class T>
OrvelKit::Expected<std::string, std::string> encoded(const T& record) {
    auto json = OrvelKit::Json::encode(record);
    if (!json) {
        return unexpected("cannot encode a record: " + json.error().description());
    }
    return std::move(*json);
}

std::string_view columnText(sqlite3_stmt* row, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    return text == nullptr ? std::string_view{}
                           : std::string_view(text, sqlite3_column_bytes(row, column));
}

} // namespace

OrvelKit::Expected<std::unique_ptr<ServiceStore>, std::string>
ServiceStore::open(const std::filesystem::path& directory, bool syncEveryWrite) {
    std::error_code error;
    if (!std::filesystem::exists(directory, error)) {
        if (!std::filesystem::create_directories(directory, error)) {
            return unexpected("cannot create " + directory.string() + ": " + error.message());
        }
        if (::chmod(directory.c_str(), 0700) != 0) {
            return unexpected("cannot restrict " + directory.string() + ": " +
                              std::strerror(errno));
        }
    } else if (!std::filesystem::is_directory(directory, error)) {
        return unexpected(directory.string() + " is not a directory");
    }
    const auto path = directory / fileName;
    // Created here with mode 0600; SQLite gives its journal files the same mode.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return unexpected("cannot open " + path.string() + ": " + std::strerror(errno));
    }
    ::close(fd);

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        std::string message = "cannot open " + path.string() + ": " + sqlite3_errmsg(db);
        sqlite3_close(db);
        return unexpected(std::move(message));
    }
    std::unique_ptr<ServiceStore> store(new ServiceStore(db, syncEveryWrite));
    // Exclusive locking: a second service on the same directory would work
    // on a copy of the state that the first one no longer sees.
    for (const char* pragma : {"PRAGMA locking_mode = EXCLUSIVE", "PRAGMA journal_mode = WAL",
                               "PRAGMA synchronous = NORMAL", "BEGIN IMMEDIATE", "COMMIT"}) {
        if (auto done = store->execute(pragma); !done) {
            if (sqlite3_errcode(db) == SQLITE_BUSY) {
                return unexpected(path.string() + " is in use by another process");
            }
            return unexpected(path.string() + ": " + done.error());
        }
    }
    if (auto migrated = store->migrate(); !migrated) {
        return unexpected(path.string() + ": " + migrated.error());
    }
    return store;
}

ServiceStore::~ServiceStore() {
    for (auto& [sql, statement] : statements_) {
        sqlite3_finalize(statement);
    }
    // Closing checkpoints the log into the database and removes it.
    sqlite3_close(db_);
}

std::string ServiceStore::lastError(std::string_view what) const {
    return std::string(what) + ": " + sqlite3_errmsg(db_);
}

OrvelKit::Expected<void, std::string> ServiceStore::execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message != nullptr ? message : "unknown error";
        sqlite3_free(message);
        return unexpected(std::move(text));
    }
    return {};
}

sqlite3_stmt* ServiceStore::statement(const char* sql) {
    auto& cached = statements_[sql];
    if (cached == nullptr && sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &cached,
                                                nullptr) != SQLITE_OK) {
        cached = nullptr;
    }
    return cached;
}

OrvelKit::Expected<void, std::string> ServiceStore::run(const char* sql,
                                                        std::initializer_list<Value> values) {
    sqlite3_stmt* s = statement(sql);
    if (s == nullptr) {
        return unexpected(lastError("cannot prepare a statement"));
    }
    int index = 1;
    for (const Value& value : values) {
        if (const auto* text = std::get_if<std::string_view>(&value)) {
            sqlite3_bind_text(s, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(s, index, std::get<std::int64_t>(value));
        }
        ++index;
    }
    const int result = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (result != SQLITE_DONE) {
        return unexpected(lastError("cannot write"));
    }
    return {};
}

OrvelKit::Expected<void, std::string> ServiceStore::migrate() {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &s, nullptr);
    const int version =
        s != nullptr && sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    if (version < 0) {
        return unexpected(lastError("cannot read the schema version"));
    }
    if (version > schemaVersion) {
        return unexpected("the database has schema version " + std::to_string(version) +
                          ", newer than this program knows (" + std::to_string(schemaVersion) +
                          "); use a newer orvel-server");
    }
    for (int next = version + 1; next <= schemaVersion; ++next) {
        // Each step and its version number in one transaction, with FULL sync.
        const std::string step = std::string("PRAGMA synchronous = FULL; BEGIN IMMEDIATE;") +
                                 migrations[next - 1] +
                                 "; PRAGMA user_version = " + std::to_string(next) +
                                 "; COMMIT; PRAGMA synchronous = NORMAL;";
        if (auto done = execute(step.c_str()); !done) {
            (void)execute("ROLLBACK");
            return unexpected("cannot migrate the schema to version " + std::to_string(next) +
                              ": " + done.error());
        }
    }
    return {};
}

OrvelKit::Expected<bool, std::string> ServiceStore::empty() {
    sqlite3_stmt* s = statement("SELECT EXISTS (SELECT 1 FROM accounts)");
    if (s == nullptr || sqlite3_step(s) != SQLITE_ROW) {
        auto error = lastError("cannot read");
        if (s != nullptr) {
            sqlite3_reset(s);
        }
        return unexpected(std::move(error));
    }
    const bool none = sqlite3_column_int(s, 0) == 0;
    sqlite3_reset(s);
    return none;
}

OrvelKit::Expected<DevState, std::string> ServiceStore::load(std::uint64_t nowMs) {
    if (auto dropped = run("DELETE FROM pairing_codes WHERE expires_at_ms <= ?",
                           {static_cast<std::int64_t>(nowMs)});
        !dropped) {
        return unexpected(dropped.error());
    }
    DevState state;
    std::map<std::string, std::size_t, std::less<>> channelIndex;
    std::string failure;

    // Decodes every row's record (the last column) of `sql` into `add`.
    const auto rows = [&]<class T>(const char* sql, std::type_identity<T>, auto add) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) {
            failure = lastError("cannot read");
            return false;
        }
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(s)) == SQLITE_ROW) {
            auto record = OrvelKit::Json::decode<T>(columnText(s, sqlite3_column_count(s) - 1));
            if (!record) {
                failure = std::string("a stored record is damaged: ") +
                          record.error().description() + " (" + sql + ")";
                break;
            }
            if (!add(std::move(*record))) {
                failure = std::string("a stored update belongs to no channel (") + sql + ")";
                break;
            }
        }
        if (failure.empty() && step != SQLITE_DONE) {
            failure = lastError("cannot read");
        }
        sqlite3_finalize(s);
        return failure.empty();
    };
    const auto into = [](auto& list) {
        return [&list](auto record) {
            list.push_back(std::move(record));
            return true;
        };
    };
    const bool loaded =
        rows("SELECT record FROM accounts", std::type_identity<AccountState>{},
             into(state.accounts)) &&
        rows("SELECT record FROM devices", std::type_identity<DeviceState>{},
             into(state.devices)) &&
        rows("SELECT record FROM pairing_codes", std::type_identity<PairingCodeState>{},
             into(state.pairingCodes)) &&
        rows("SELECT record FROM keys", std::type_identity<KeyState>{}, into(state.keys)) &&
        rows("SELECT record FROM channels", std::type_identity<ChannelState>{},
             [&](ChannelState channel) {
                 channelIndex.emplace(channel.id, state.channels.size());
                 state.channels.push_back(std::move(channel));
                 return true;
             }) &&
        rows("SELECT record FROM notifications ORDER BY channel, seq",
             std::type_identity<OrvelProtocol::Notification>{},
             [&](OrvelProtocol::Notification n) {
                 const auto found = channelIndex.find(n.channel);
                 if (found == channelIndex.end()) {
                     return false;
                 }
                 state.channels[found->second].notifications.push_back(std::move(n));
                 return true;
             }) &&
        rows("SELECT record FROM card_updates ORDER BY channel, card_seq",
             std::type_identity<OrvelProtocol::PersistentCardUpdate>{},
             [&](OrvelProtocol::PersistentCardUpdate u) {
                 const auto found = channelIndex.find(u.channel);
                 if (found == channelIndex.end()) {
                     return false;
                 }
                 state.channels[found->second].cardUpdates.push_back(std::move(u));
                 return true;
             });
    if (!loaded) {
        return unexpected(failure);
    }
    return state;
}

OrvelKit::Expected<void, std::string> ServiceStore::writeRows(const StateChanges& changes) {
    using Result = OrvelKit::Expected<void, std::string>;
    const auto each = [](const auto& records, auto write) -> Result {
        for (const auto& record : records) {
            auto json = encoded(record);
            if (!json) {
                return unexpected(json.error());
            }
            if (auto done = write(record, *json); !done) {
                return done;
            }
        }
        return {};
    };
    Result done = each(changes.accounts, [&](const AccountState& a, const std::string& json) {
        return run(putAccount, {a.id, json});
    });
    if (done) {
        done = each(changes.devices, [&](const DeviceState& d, const std::string& json) {
            return run(putDevice, {d.token, d.accountId, json});
        });
    }
    if (done) {
        done = each(changes.pairingCodes, [&](const PairingCodeState& c, const std::string& json) {
            return run(putCode, {c.code, json, static_cast<std::int64_t>(c.expiresAtMs)});
        });
    }
    for (const auto& code : changes.removedPairingCodes) {
        if (done) {
            done = run(removeCode, {code});
        }
    }
    if (done) {
        done = each(changes.channels, [&](const ChannelState& c, const std::string& json) {
            return run(putChannel, {c.id, c.owner, json});
        });
    }
    if (done) {
        done = each(changes.keys, [&](const KeyState& k, const std::string& json) {
            return run(putKey, {k.token, k.channel, json});
        });
    }
    if (done) {
        done = each(changes.notifications, [&](const OrvelProtocol::Notification& n,
                                               const std::string& json) {
            return run(addNotification, {n.channel, static_cast<std::int64_t>(n.seq), json});
        });
    }
    if (done) {
        done = each(changes.cardUpdates, [&](const OrvelProtocol::PersistentCardUpdate& u,
                                             const std::string& json) {
            return run(addCardUpdate, {u.channel, static_cast<std::int64_t>(u.cardSeq), json});
        });
    }
    return done;
}

OrvelKit::Expected<void, std::string> ServiceStore::write(const StateChanges& changes) {
    if (changes.empty()) {
        return {};
    }
    const bool full = syncEveryWrite_ || changes.handsOutSecret;
    if (full) {
        (void)execute("PRAGMA synchronous = FULL");
    }
    auto done = execute("BEGIN IMMEDIATE");
    if (done) {
        done = writeRows(changes);
    }
    if (done) {
        done = execute("COMMIT");
    }
    if (!done) {
        (void)execute("ROLLBACK");
    }
    if (full) {
        (void)execute("PRAGMA synchronous = NORMAL");
    }
    return done;
}

OrvelKit::Expected<void, std::string> ServiceStore::writeAll(const DevState& state) {
    StateChanges changes;
    changes.accounts = state.accounts;
    changes.devices = state.devices;
    changes.pairingCodes = state.pairingCodes;
    changes.keys = state.keys;
    for (const ChannelState& channel : state.channels) {
        ChannelState row = channel;
        row.notifications.clear();
        row.cardUpdates.clear();
        changes.channels.push_back(std::move(row));
        changes.notifications.insert(changes.notifications.end(), channel.notifications.begin(),
                                     channel.notifications.end());
        changes.cardUpdates.insert(changes.cardUpdates.end(), channel.cardUpdates.begin(),
                                   channel.cardUpdates.end());
    }
    changes.handsOutSecret = true;
    return write(changes);
}

} // namespace OrvelDev
