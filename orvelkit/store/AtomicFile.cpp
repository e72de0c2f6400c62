#include "orvelkit/store/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace OrvelKit {

namespace {

namespace fs = std::filesystem;

FileError systemError(std::string operation, fs::path path, int code = errno) {
    return FileError{std::move(operation), std::move(path),
                     std::error_code(code, std::generic_category())};
}

// Owns a file descriptor.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error that close() may carry for a written file.
    int close() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_ = -1;
};

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

fs::path directoryOf(const fs::path& file) {
    fs::path directory = file.parent_path();
    return directory.empty() ? fs::path(".") : directory;
}

std::string temporaryPrefix(const fs::path& file) {
    std::string prefix(".");
    prefix += file.filename().string();
    prefix += ".tmp-";
    return prefix;
}

// A name for a temporary beside `file` that no other writer, in this process or
// another, picks at the same time.
std::string temporaryName(const fs::path& file) {
    static std::atomic<unsigned> counter{0};
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%x-%x-%llx", static_cast<unsigned>(::getpid()),
                  counter.fetch_add(1, std::memory_order_relaxed),
                  static_cast<unsigned long long>(clock) & 0xffffffffffULL);
    return temporaryPrefix(file) + suffix;
}

// The new file while it is written: unnamed when the file system supports
// O_TMPFILE (a crash then leaves nothing behind), otherwise a hidden name.
struct Temporary {
    Descriptor fd;
    std::optional<std::string> name;
};

Expected<Temporary, FileError> createTemporary(int directoryFd, const fs::path& directory,
                                               const fs::path& file, bool allowUnnamed) {
    int fd = -1;
    if (allowUnnamed) {
        do {
            fd = ::openat(directoryFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, privateFileMode);
        } while (fd < 0 && errno == EINTR);
        if (fd >= 0) {
            return Temporary{Descriptor(fd), std::nullopt};
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(file);
        fd = ::openat(directoryFd, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC,
                      privateFileMode);
        if (fd >= 0) {
            return Temporary{Descriptor(fd), std::move(name)};
        }
        if (errno != EEXIST && errno != EINTR) {
            break;
        }
    }
    return unexpected(systemError("create a temporary file in", directory));
}

// Gives an unnamed temporary a name in its directory, so it can be renamed
// over the target. False when neither way of linking it is available.
bool linkTemporary(Temporary& temporary, int directoryFd, const fs::path& file) {
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", temporary.fd.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(file);
        if (::linkat(AT_FDCWD, procPath, directoryFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(temporary.fd.get(), "", directoryFd, name.c_str(), AT_EMPTY_PATH) == 0) {
            temporary.name = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

Expected<void, FileError> writeTemporary(Temporary& temporary, const fs::path& file,
                                         std::string_view contents) {
    // The creation mode passed through the umask; the stores' files are 0600
    // exactly.
    if (::fchmod(temporary.fd.get(), privateFileMode) != 0) {
        return unexpected(systemError("set the mode of a temporary for", file));
    }
    if (!writeAll(temporary.fd.get(), contents)) {
        return unexpected(systemError("write a temporary for", file));
    }
    if (::fsync(temporary.fd.get()) != 0) {
        return unexpected(systemError("flush a temporary for", file));
    }
    return {};
}

// One attempt at the whole write; `allowUnnamed` false forces a named temporary.
Expected<void, FileError> replaceFile(const fs::path& file, std::string_view contents,
                                      bool allowUnnamed, bool& linkUnavailable) {
    const fs::path directory = directoryOf(file);
    Descriptor directoryFd(openRetrying(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directoryFd.valid()) {
        return unexpected(systemError("open directory", directory));
    }

    auto created = createTemporary(directoryFd.get(), directory, file, allowUnnamed);
    if (!created) {
        return unexpected(std::move(created).error());
    }
    Temporary temporary = std::move(created).value();

    auto removeNamed = [&] {
        if (temporary.name) {
            ::unlinkat(directoryFd.get(), temporary.name->c_str(), 0);
        }
    };

    if (auto written = writeTemporary(temporary, file, contents); !written) {
        removeNamed();
        return written;
    }
    if (!temporary.name && !linkTemporary(temporary, directoryFd.get(), file)) {
        linkUnavailable = true;
        return unexpected(systemError("name a temporary for", file));
    }
    if (temporary.fd.close() != 0) {
        auto error = systemError("close a temporary for", file);
        removeNamed();
        return unexpected(std::move(error));
    }
    const std::string target = file.filename().string();
    if (::renameat(directoryFd.get(), temporary.name->c_str(), directoryFd.get(), target.c_str()) !=
        0) {
        auto error = systemError("rename a temporary over", file);
        removeNamed();
        return unexpected(std::move(error));
    }
    // Makes the rename itself durable.
    if (::fsync(directoryFd.get()) != 0) {
        return unexpected(systemError("flush directory", directory));
    }
    return {};
}

std::string utcStamp(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return std::string(text, length);
}

// Renames without ever replacing: true on success; false with errno set.
bool renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File systems without RENAME_NOREPLACE: link() refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    return ::unlink(from.c_str()) == 0 || errno == ENOENT;
}

} // namespace

Expected<FileContents, FileError> readWholeFile(const fs::path& file) {
    Descriptor fd(openRetrying(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return unexpected(systemError("open", file));
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        return unexpected(systemError("inspect", file));
    }
    if (S_ISDIR(status.st_mode)) {
        return unexpected(systemError("read", file, EISDIR));
    }
    // One spare byte lets the loop see the end without another large read.
    FileContents contents(static_cast<std::size_t>(status.st_size) + 1);
    for (;;) {
        if (contents.size() == contents.capacity()) {
            contents.enlarge(); // the file grew since fstat()
        }
        const ssize_t count =
            ::read(fd.get(), contents.end(), contents.capacity() - contents.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return unexpected(systemError("read", file));
        }
        if (count == 0) {
            break;
        }
        contents.grow(static_cast<std::size_t>(count));
    }
    return contents;
}

Expected<void, FileError> writeFileAtomically(const fs::path& file, std::string_view contents) {
    bool linkUnavailable = false;
    auto result = replaceFile(file, contents, true, linkUnavailable);
    if (!result && linkUnavailable) {
        // Neither /proc nor AT_EMPTY_PATH could name the unnamed file.
        return replaceFile(file, contents, false, linkUnavailable);
    }
    return result;
}

Expected<void, FileError> createPrivateDirectories(const fs::path& directory) {
    if (directory.empty()) {
        return {};
    }
    if (::mkdir(directory.c_str(), privateDirectoryMode) == 0) {
        return {};
    }
    if (errno == ENOENT) {
        const fs::path parent = directory.parent_path();
        if (parent.empty() || parent == directory) {
            return unexpected(systemError("create directory", directory));
        }
        if (auto created = createPrivateDirectories(parent); !created) {
            return created;
        }
        if (::mkdir(directory.c_str(), privateDirectoryMode) == 0) {
            return {};
        }
    }
    if (errno == EEXIST) {
        struct stat status {};
        if (::stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            return {};
        }
        return unexpected(systemError("create directory", directory, ENOTDIR));
    }
    return unexpected(systemError("create directory", directory));
}

Expected<void, FileError> restrictToOwner(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return unexpected(systemError("inspect", path));
    }
    if ((status.st_mode & 077) == 0 || status.st_uid != ::geteuid()) {
        return {};
    }
    if (::chmod(path.c_str(), status.st_mode & 07700) != 0) {
        return unexpected(systemError("restrict the mode of", path));
    }
    return {};
}

Expected<fs::path, FileError> preserveUnreadableFile(const fs::path& file,
                                                     std::chrono::system_clock::time_point now) {
    const std::string base = file.string() + ".unreadable-" + utcStamp(now);
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        fs::path target =
            attempt == 1 ? fs::path(base) : fs::path(base + "-" + std::to_string(attempt));
        if (renameNoReplace(file, target)) {
            Descriptor directoryFd(
                openRetrying(directoryOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (directoryFd.valid()) {
                ::fsync(directoryFd.get());
            }
            return target;
        }
        if (errno != EEXIST) {
            return unexpected(systemError("move aside", file));
        }
    }
    return unexpected(systemError("move aside", file, EEXIST));
}

void removeStaleTemporaries(const fs::path& file) {
    const std::string prefix = temporaryPrefix(file);
    std::error_code error;
    for (fs::directory_iterator it(directoryOf(file), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix) && it->is_regular_file(error)) {
            fs::remove(it->path(), error);
        }
    }
}

} // namespace OrvelKit
