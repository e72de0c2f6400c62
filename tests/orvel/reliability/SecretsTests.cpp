// The files that hold tokens (config.json), read state (inbox.json) and the
// user's settings (preferences.json) are private to the user whatever the
// umask, including one that would make new files world-writable.

#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/support/Records.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace OrvelTest {
namespace {

class PrivateFiles : public ::testing::TestWithParam<mode_t> {
protected:
    void SetUp() override { previous = ::umask(GetParam()); }
    void TearDown() override { ::umask(previous); }

    // Writes all three stores into `folder`, which does not exist yet.
    static void saveAll(const std::filesystem::path& folder) {
        OrvelKit::AppConfig config;
        config.deviceToken = "orvel_dev_secret";
        config.channels = {{"ch_1", "orvel_pub_secret", std::nullopt}};
        OrvelKit::FileConfigStore(folder / "config.json").save(config);

        OrvelKit::Inbox inbox;
        inbox.merge("ch_1", {notification("ch_1", 1)}, 1);
        OrvelKit::FileInboxStore(folder / "inbox.json").save(inbox);

        Orvel::FilePreferences(folder / "preferences.json").set("onlyInterrupt", false);
    }

    mode_t previous = 0;
};

TEST_P(PrivateFiles, AreTheUsersAloneWhenCreatedReplacedOrFoundOpen) {
    TemporaryDirectory root;
    const auto folder = root / "support" / "orvel";
    const auto expectPrivate = [&] {
        for (const char* name : {"config.json", "inbox.json", "preferences.json"}) {
            EXPECT_EQ(modeOf(folder / name), 0600u) << name;
        }
    };
    saveAll(folder);
    EXPECT_EQ(modeOf(root / "support"), 0700u);
    EXPECT_EQ(modeOf(folder), 0700u);
    expectPrivate();
    // Saving again (a replacement, not a new file) keeps them private.
    saveAll(folder);
    expectPrivate();
    // A file others could read is narrowed when it is loaded.
    for (const char* name : {"config.json", "inbox.json", "preferences.json"}) {
        ::chmod((folder / name).c_str(), 0666);
    }
    EXPECT_TRUE(OrvelKit::FileConfigStore(folder / "config.json").load().value().isPaired());
    EXPECT_EQ(OrvelKit::FileInboxStore(folder / "inbox.json").load().value().channels().size(), 1u);
    EXPECT_EQ(Orvel::FilePreferences(folder / "preferences.json").boolValue("onlyInterrupt"),
              false);
    expectPrivate();
}

INSTANTIATE_TEST_SUITE_P(Umask, PrivateFiles, ::testing::Values(mode_t{077}, mode_t{000}),
                         [](const ::testing::TestParamInfo<mode_t>& info) {
                             return info.param == 0 ? std::string("Permissive")
                                                    : std::string("Restrictive");
                         });

} // namespace
} // namespace OrvelTest
