#include "tools/devserver/StateFile.h"

#include "orvelkit/json/Json.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace OrvelDev {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, const std::string& data) {
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

OrvelKit::Expected<std::optional<DevState>, std::string> StateFile::load() const {
    std::error_code error;
    const auto status = std::filesystem::status(path_, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::optional<DevState>{};
    }
    if (error || status.type() != std::filesystem::file_type::regular) {
        return OrvelKit::unexpected(path_.string() + " is not a readable file");
    }
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return OrvelKit::unexpected(systemError("cannot read " + path_.string()));
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return OrvelKit::unexpected("cannot read " + path_.string());
    }
    auto state = OrvelKit::Json::decode<DevState>(text.str());
    if (!state) {
        return OrvelKit::unexpected(path_.string() +
                                    " is not a valid state file: " + state.error().description());
    }
    return std::optional<DevState>(std::move(*state));
}

OrvelKit::Expected<void, std::string> StateFile::save(const DevState& state) const {
    auto json = OrvelKit::Json::encode(state);
    if (!json) {
        return OrvelKit::unexpected("cannot encode the state: " + json.error().description());
    }
    json->push_back('\n');

    const std::filesystem::path directory =
        path_.has_parent_path() ? path_.parent_path() : std::filesystem::path(".");
    std::string temporary = (directory / ("." + path_.filename().string() + ".XXXXXX")).string();
    // mkstemp creates the file with mode 0600.
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return OrvelKit::unexpected(systemError("cannot create a file beside " + path_.string()));
    }
    if (!writeAll(fd, *json) || ::fsync(fd) != 0) {
        auto error = systemError("cannot write " + temporary);
        ::close(fd);
        ::unlink(temporary.c_str());
        return OrvelKit::unexpected(std::move(error));
    }
    if (::close(fd) != 0) {
        auto error = systemError("cannot write " + temporary);
        ::unlink(temporary.c_str());
        return OrvelKit::unexpected(std::move(error));
    }
    if (::rename(temporary.c_str(), path_.c_str()) != 0) {
        auto error = systemError("cannot replace " + path_.string());
        ::unlink(temporary.c_str());
        return OrvelKit::unexpected(std::move(error));
    }
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0) {
        return OrvelKit::unexpected(systemError("cannot open " + directory.string()));
    }
    const bool synced = ::fsync(dir) == 0;
    auto error = synced ? std::string() : systemError("cannot flush " + directory.string());
    ::close(dir);
    if (!synced) {
        return OrvelKit::unexpected(std::move(error));
    }
    return {};
}

} // namespace OrvelDev
