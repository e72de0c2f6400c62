#include "orvelkit/store/AppSupportDirectory.h"

#include "orvelkit/store/AtomicFile.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace OrvelKit {

namespace {

std::optional<std::string_view> environment(const char* name) {
    if (const char* value = std::getenv(name)) {
        return std::string_view(value);
    }
    return std::nullopt;
}

std::optional<std::string> homeFromUserDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

bool isAbsolute(std::optional<std::string_view> path) {
    return path && !path->empty() && path->front() == '/';
}

} // namespace

std::optional<AppSupportDirectory> AppSupportDirectory::locate() {
    auto home = environment("HOME");
    std::optional<std::string> databaseHome;
    if (!isAbsolute(home)) {
        databaseHome = homeFromUserDatabase();
        home = databaseHome ? std::optional<std::string_view>(*databaseHome) : std::nullopt;
    }
    return locate(environment("XDG_DATA_HOME"), home);
}

std::optional<AppSupportDirectory>
AppSupportDirectory::locate(std::optional<std::string_view> xdgDataHome,
                            std::optional<std::string_view> home) {
    // Relative values are invalid by the XDG rules and are ignored.
    if (isAbsolute(xdgDataHome)) {
        return AppSupportDirectory(std::filesystem::path(*xdgDataHome) / "orvel");
    }
    if (isAbsolute(home)) {
        return AppSupportDirectory(std::filesystem::path(*home) / ".local" / "share" / "orvel");
    }
    return std::nullopt;
}

Expected<void, FileError> AppSupportDirectory::prepare() const {
    if (auto created = createPrivateDirectories(directory_); !created) {
        return created;
    }
    if (auto restricted = restrictToOwner(directory_); !restricted) {
        return restricted;
    }
    for (const auto& file : {configFile(), inboxFile()}) {
        if (auto restricted = restrictToOwner(file);
            !restricted && !restricted.error().notFound()) {
            return restricted;
        }
    }
    return {};
}

} // namespace OrvelKit
