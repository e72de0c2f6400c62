#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/AtomicFile.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace OrvelKit {
namespace {

using OrvelTest::modeOf;
using OrvelTest::namesIn;
using OrvelTest::readText;
using OrvelTest::writeText;

TEST(AtomicFile, ReplacesWholeFilesWithPrivateOnesAndLeavesNoTemporaries) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "data.json";
    EXPECT_TRUE(readWholeFile(file).error().notFound());

    writeText(file, "old", 0664);
    const std::string large(3'000'000, 'x');
    ASSERT_TRUE(writeFileAtomically(file, large));
    EXPECT_EQ(readWholeFile(file)->view(), large);
    ASSERT_TRUE(writeFileAtomically(file, ""));
    EXPECT_EQ(readWholeFile(file)->view(), "");
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"data.json"});

    EXPECT_FALSE(writeFileAtomically(directory / "missing/data.json", "x"));
    EXPECT_FALSE(readWholeFile(directory.path()));
}

TEST(AtomicFile, PreservingNeverReplacesAnEarlierCopy) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "inbox.json";
    const auto now = std::chrono::sys_days{std::chrono::March / 4 / 2025} + std::chrono::hours(5);
    std::vector<std::string> copies;
    for (const char* contents : {"one", "two", "three"}) {
        writeText(file, contents);
        auto preserved = preserveUnreadableFile(file, now);
        ASSERT_TRUE(preserved);
        copies.push_back(preserved->filename().string());
        EXPECT_EQ(readText(*preserved), contents);
    }
    EXPECT_EQ(copies, (std::vector<std::string>{"inbox.json.unreadable-20250304T050000Z",
                                                "inbox.json.unreadable-20250304T050000Z-2",
                                                "inbox.json.unreadable-20250304T050000Z-3"}));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(preserveUnreadableFile(file, now).error().notFound());
}

TEST(AtomicFile, DirectoriesAndPermissions) {
    OrvelTest::TemporaryDirectory directory;
    ASSERT_TRUE(createPrivateDirectories(directory / "a/b/c"));
    EXPECT_EQ(modeOf(directory / "a"), 0700u);
    ASSERT_TRUE(createPrivateDirectories(directory / "a/b/c"));
    writeText(directory / "plain", "x");
    EXPECT_FALSE(createPrivateDirectories(directory / "plain"));
    EXPECT_FALSE(createPrivateDirectories(directory / "plain/below"));
}

TEST(AppSupportDirectory, FollowsTheXdgRules) {
    auto located = [](std::optional<std::string_view> xdg, std::optional<std::string_view> home) {
        auto directory = AppSupportDirectory::locate(xdg, home);
        return directory ? directory->directory().string() : std::string("none");
    };
    EXPECT_EQ(located("/data", "/home/ann"), "/data/orvel");
    EXPECT_EQ(located("relative/data", "/home/ann"), "/home/ann/.local/share/orvel");
    EXPECT_EQ(located(std::nullopt, std::nullopt), "none");
}

TEST(AppSupportDirectory, PreparingMakesEverythingPrivate) {
    OrvelTest::TemporaryDirectory root;
    const AppSupportDirectory existing(root / "wide");
    std::filesystem::create_directory(existing.directory());
    ::chmod(existing.directory().c_str(), 0755);
    writeText(existing.configFile(), "{}", 0644);
    ASSERT_TRUE(existing.prepare());
    EXPECT_EQ(modeOf(existing.directory()), 0700u);
    EXPECT_EQ(modeOf(existing.configFile()), 0600u);
    EXPECT_FALSE(std::filesystem::exists(existing.inboxFile()));
}

} // namespace
} // namespace OrvelKit
