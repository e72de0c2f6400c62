#include "orvelkit/store/DataDirectoryLock.h"

#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace OrvelKit {

namespace fs = std::filesystem;

namespace {

FileError lockError(std::string operation, fs::path path, int code = errno) {
    return FileError{std::move(operation), std::move(path),
                     std::error_code(code, std::generic_category())};
}

} // namespace

Expected<DataDirectoryLock, DataDirectoryLock::Failure>
DataDirectoryLock::acquire(const fs::path& directory) {
    const auto file = directory / fileName;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, privateFileMode);
    if (fd < 0) {
        return unexpected(Failure{false, lockError("open", file)});
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int code = errno;
        ::close(fd);
        return unexpected(Failure{code == EWOULDBLOCK, lockError("lock", file, code)});
    }
    DataDirectoryLock lock(directory, fd);
    lock.record(Holder{::getpid(), false, {}});
    const AppSupportDirectory support(directory);
    for (const auto& store :
         {support.configFile(), support.inboxFile(), support.preferencesFile()}) {
        removeStaleTemporaries(store);
    }
    return lock;
}

std::optional<DataDirectoryLock::Holder> DataDirectoryLock::holder(const fs::path& directory) {
    auto contents = readWholeFile(directory / fileName);
    if (!contents) {
        return std::nullopt;
    }
    const std::string_view text = contents->view();
    const auto endOfPid = text.find('\n');
    if (endOfPid == std::string_view::npos) {
        return std::nullopt;
    }
    Holder holder;
    const auto parsed = std::from_chars(text.data(), text.data() + endOfPid, holder.pid);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + endOfPid || holder.pid <= 0) {
        return std::nullopt;
    }
    auto rest = text.substr(endOfPid + 1);
    if (const auto end = rest.find('\n'); end != std::string_view::npos) {
        holder.announced = true;
        holder.busName = std::string(rest.substr(0, end));
    }
    return holder;
}

DataDirectoryLock::DataDirectoryLock(DataDirectoryLock&& other) noexcept
    : directory_(std::move(other.directory_)), fd_(std::exchange(other.fd_, -1)) {}

DataDirectoryLock& DataDirectoryLock::operator=(DataDirectoryLock&& other) noexcept {
    std::swap(directory_, other.directory_);
    std::swap(fd_, other.fd_);
    return *this;
}

DataDirectoryLock::~DataDirectoryLock() {
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

void DataDirectoryLock::advertise(std::string_view busName) {
    record(Holder{::getpid(), true, std::string(busName)});
}

void DataDirectoryLock::record(const Holder& holder) {
    // "<pid>\n", then "<bus name>\n" once announced; readers take a line
    // without its newline as not written yet.
    const std::string text = std::to_string(holder.pid) + '\n' +
                             (holder.announced ? holder.busName + '\n' : std::string());
    if (::ftruncate(fd_, 0) == 0) {
        std::size_t written = 0;
        while (written < text.size()) {
            const auto count = ::pwrite(fd_, text.data() + written, text.size() - written,
                                        static_cast<off_t>(written));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                return;
            }
            written += static_cast<std::size_t>(count);
        }
    }
}

} // namespace OrvelKit
