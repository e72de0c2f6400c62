// A replaced file survives a power cut only if both the new contents and the
// directory entry that names them reach the disk. This test program's own
// fsync stands in for the C library's, notes what is flushed and flushes it.

#include "orvelkit/store/AtomicFile.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string>* flushed = nullptr; // noted only while a test listens

} // namespace

extern "C" int fsync(int fd) {
    if (flushed != nullptr) {
        std::error_code error;
        flushed->push_back(
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string());
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

TEST(AtomicFile, FlushesTheNewContentsAndThenTheirDirectory) {
    OrvelTest::TemporaryDirectory directory;
    std::vector<std::string> paths;
    flushed = &paths;
    const bool written = bool(OrvelKit::writeFileAtomically(directory / "data.json", "x"));
    flushed = nullptr;
    ASSERT_TRUE(written);
    const auto where = std::filesystem::canonical(directory.path());
    ASSERT_GE(paths.size(), 2u);
    EXPECT_EQ(std::filesystem::path(paths.front()).parent_path(), where); // the new contents
    EXPECT_EQ(paths.back(), where.string()) << "the rename was not made durable";
}
