#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/DataDirectoryLock.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace OrvelKit {
namespace {

using OrvelTest::namesIn;
using OrvelTest::writeText;

TEST(DataDirectoryLock, OneHolderAtATimeWhichOthersCanFind) {
    OrvelTest::TemporaryDirectory directory;
    EXPECT_FALSE(DataDirectoryLock::holder(directory.path()));
    {
        auto first = DataDirectoryLock::acquire(directory.path());
        ASSERT_TRUE(first);
        EXPECT_EQ(DataDirectoryLock::holder(directory.path()),
                  (DataDirectoryLock::Holder{::getpid(), false, ""}));
        first->advertise(":1.42");
        EXPECT_EQ(DataDirectoryLock::holder(directory.path()),
                  (DataDirectoryLock::Holder{::getpid(), true, ":1.42"}));

        // A second attempt (flock locks belong to the open file, so this is
        // what another process meets) fails as busy and changes nothing.
        const auto second = DataDirectoryLock::acquire(directory.path());
        ASSERT_FALSE(second);
        EXPECT_TRUE(second.error().busy) << second.error().error.description();
        EXPECT_EQ(DataDirectoryLock::holder(directory.path())->busName, ":1.42");
    }
    EXPECT_TRUE(DataDirectoryLock::acquire(directory.path()));
    EXPECT_FALSE(DataDirectoryLock::acquire(directory / "missing"));
}

// A temporary beside a store file may be another process's save in
// progress: reading leaves it; only taking the lock clears it.
TEST(DataDirectoryLock, OnlyTheHolderClearsTemporaries) {
    OrvelTest::TemporaryDirectory directory;
    const std::vector<std::string> temporaries{".config.json.tmp-1", ".inbox.json.tmp-1",
                                               ".preferences.json.tmp-1"};
    for (const auto& name : temporaries) {
        writeText(directory / name, "half a save");
    }
    writeText(directory / "inbox.json", R"({"channels":[]})");
    (void)FileInboxStore(directory / "inbox.json").load();
    (void)FileConfigStore(directory / "config.json").load();
    for (const auto& name : temporaries) {
        EXPECT_TRUE(std::filesystem::exists(directory / name)) << name;
    }
    const auto lock = DataDirectoryLock::acquire(directory.path());
    ASSERT_TRUE(lock);
    EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"inbox.json", "orvel.lock"}));
}

} // namespace
} // namespace OrvelKit
