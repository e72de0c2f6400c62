#pragma once

// The service's durable storage: one SQLite database in the data directory.
//
// DevService keeps the working set in memory; the store holds the truth on
// disk. At start the whole state is loaded; afterwards every operation's
// changes (StateChanges) are written in one transaction before the answer
// goes out, so an acknowledged request survives a crash of the process. The
// journal is a write-ahead log; a transaction that hands out a token waits
// for the disk (synchronous=FULL), the others only for the operating system
// (synchronous=NORMAL) unless `syncEveryWrite` asks for FULL throughout.
//
// The schema is versioned (PRAGMA user_version); an older database is
// migrated step by step when opened, a newer one is refused. One process at
// a time: the database is opened in exclusive locking mode.

#include "orvelkit/support/Expected.h"
#include "tools/devserver/DevState.h"
#include "tools/devserver/StateChanges.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace OrvelDev {

class ServiceStore {
public:
    static constexpr int schemaVersion = 2;
    static constexpr std::string_view fileName = "orvel.sqlite3";

    // Opens DIR/orvel.sqlite3, creating the directory (mode 0700) and the
    // database (0600: it holds tokens) when missing, and migrates its schema.
    static OrvelKit::Expected<std::unique_ptr<ServiceStore>, std::string>
    open(const std::filesystem::path& directory, bool syncEveryWrite = false);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    // Everything stored; pairing codes that expired by `nowMs` are dropped.
    OrvelKit::Expected<DevState, std::string> load(std::uint64_t nowMs);
    // One transaction; on failure nothing of it is stored.
    OrvelKit::Expected<void, std::string> write(const StateChanges& changes);
    // Adds a whole state (an imported state file) in one transaction.
    OrvelKit::Expected<void, std::string> writeAll(const DevState& state);
    // Whether no account is stored yet.
    OrvelKit::Expected<bool, std::string> empty();

private:
    ServiceStore(sqlite3* db, bool syncEveryWrite) : db_(db), syncEveryWrite_(syncEveryWrite) {}

    OrvelKit::Expected<void, std::string> migrate();
    OrvelKit::Expected<void, std::string> execute(const char* sql);
    sqlite3_stmt* statement(const char* sql);
    using Value = std::variant<std::string_view, std::int64_t>;
    // Runs a statement that returns no rows with `values` bound in order.
    OrvelKit::Expected<void, std::string> run(const char* sql, std::initializer_list<Value> values);
    OrvelKit::Expected<void, std::string> writeRows(const StateChanges& changes);
    std::string lastError(std::string_view what) const;

    sqlite3* db_;
    bool syncEveryWrite_;
    std::map<const char*, sqlite3_stmt*> statements_;
};

} // namespace OrvelDev
