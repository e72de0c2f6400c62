#include "orvelkit/config/FileConfigStore.h"
#include "tests/orvelkit/store/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

namespace OrvelKit {
namespace {

using OrvelTest::modeOf;
using OrvelTest::namesIn;
using OrvelTest::readText;
using OrvelTest::writeText;

struct FormatCase {
    const char* name;
    const char* json;
    std::optional<AppConfig> expected; // nothing: the file is rejected
};

const AppConfig paired{"https://s.example/",
                       {ChannelConfig{"c1", "orvel_pub_1", "2025-03-01T10:00:00Z"},
                        ChannelConfig{"c1", "orvel_pub_2", std::nullopt}},
                       "dev_token",
                       "acct"};

const FormatCase formatCases[] = {
    {"complete", R"({"serverURL":"https://s.example/","channels":[
        {"channel":"c1","token":"orvel_pub_1","createdAt":"2025-03-01T10:00:00Z"},
        {"channel":"c1","token":"orvel_pub_2"}],"deviceToken":"dev_token","accountId":"acct",
        "unknown":{"nested":[1,2]}})",
     paired},
    {"emptyDeviceToken", R"({"serverURL":"x","channels":[],"deviceToken":""})",
     AppConfig{"x", {}, "", std::nullopt}},
    {"nullOptionals", R"({"serverURL":"x","channels":[{"channel":"c","token":"t","createdAt":null}],
        "deviceToken":null})",
     AppConfig{"x", {ChannelConfig{"c", "t", std::nullopt}}, std::nullopt, std::nullopt}},
    {"channelsMissing", R"({"serverURL":"x","deviceToken":"dev"})", std::nullopt},
    {"tokenMissing", R"({"serverURL":"x","channels":[{"channel":"c"}]})", std::nullopt},
    {"serverNotAString", R"({"serverURL":5,"channels":[]})", std::nullopt},
    {"createdAtNotAString", R"({"serverURL":"x","channels":[{"channel":"c","token":"t",
        "createdAt":1}]})",
     std::nullopt},
    {"notJson", R"({"serverURL":"x","channels":[)", std::nullopt},
    {"empty", "", std::nullopt},
    {"byteOrderMark", "\xEF\xBB\xBF{\"serverURL\":\"x\",\"channels\":[]}",
     AppConfig{"x", {}, std::nullopt, std::nullopt}},
    {"byteOrderMarkTwice", "\xEF\xBB\xBF\xEF\xBB\xBF{\"serverURL\":\"x\",\"channels\":[]}",
     std::nullopt},
};

class ConfigFileFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(ConfigFileFormat, LoadsOrFallsBackToTheDefaultKeepingTheFile) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "config.json";
    writeText(file, GetParam().json);
    std::vector<StoreDiagnostic> diagnostics;
    FileConfigStore store(file, [&](const StoreDiagnostic& d) { diagnostics.push_back(d); });

    const AppConfig loaded = store.load().value();
    if (GetParam().expected) {
        EXPECT_EQ(loaded, *GetParam().expected);
        EXPECT_TRUE(diagnostics.empty());
        EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"config.json"});
        return;
    }
    EXPECT_EQ(loaded, AppConfig::defaultConfiguration());
    // The rejected file is kept, byte for byte, where no save can replace it.
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0].event, StoreDiagnostic::Event::decodeFailed);
    EXPECT_EQ(diagnostics[1].event, StoreDiagnostic::Event::preserved);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(readText(diagnostics[1].file), GetParam().json);
    EXPECT_TRUE(diagnostics[1].file.filename().string().starts_with("config.json.unreadable-"));

    store.save(paired);
    EXPECT_EQ(store.load().value(), paired);
    EXPECT_EQ(readText(diagnostics[1].file), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigFileFormat, testing::ValuesIn(formatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileConfigStore, SavesCompactCamelCaseJsonThatLoadsBackEqual) {
    OrvelTest::TemporaryDirectory directory;
    FileConfigStore store(directory / "config.json");
    AppConfig config;
    config.addOrUpdate(ChannelConfig{"c", "orvel_pub_x", std::nullopt});
    store.save(config);
    EXPECT_EQ(
        readText(store.file()),
        R"({"serverURL":"https://orvel.app","channels":[{"channel":"c","token":"orvel_pub_x"}]})");
    EXPECT_EQ(store.load().value(), config);

    // Saving what the file already holds leaves the file alone.
    auto inode = [&] { return OrvelTest::inodeOf(store.file()); };
    const auto before = inode();
    store.save(config);
    EXPECT_EQ(inode(), before);
    store.save(paired);
    EXPECT_NE(inode(), before);
    EXPECT_EQ(store.load().value(), paired);
}

TEST(FileConfigStore, CreatesPrivateDirectoriesAndFiles) {
    OrvelTest::TemporaryDirectory directory;
    const auto file = directory / "a/b/config.json";
    FileConfigStore store(file);
    EXPECT_EQ(store.load().value(), AppConfig::defaultConfiguration()); // missing: no file appears
    EXPECT_FALSE(std::filesystem::exists(directory / "a"));

    store.save(paired);
    EXPECT_EQ(modeOf(directory / "a"), 0700u);
    EXPECT_EQ(modeOf(directory / "a/b"), 0700u);
    EXPECT_EQ(modeOf(file), 0600u);

    // A file that others could read is narrowed on load and replaced by a private one on save.
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(store.load().value(), paired);
    EXPECT_EQ(modeOf(file), 0600u);
    ::chmod(file.c_str(), 0666);
    store.save(paired);
    EXPECT_EQ(modeOf(file), 0600u);
}

// Not being able to read a file says nothing about what it holds: it stays
// where it is, and nothing is written over it until a read succeeds.
TEST(FileConfigStore, AFileThatCannotBeReadIsAnErrorAndIsNeverWrittenOver) {
    struct Case {
        const char* name;
        int error;
        std::function<void(const std::filesystem::path&)> make;
    };
    std::vector<Case> cases = {
        {"directory", EISDIR, [](const auto& file) { std::filesystem::create_directory(file); }},
        {"symlinkLoop", ELOOP,
         [](const auto& file) { std::filesystem::create_symlink(file.filename(), file); }},
    };
    if (::geteuid() != 0) {
        cases.push_back({"noPermission", EACCES, [](const auto& file) {
                             writeText(file, R"({"serverURL":"x","channels":[]})", 0200);
                         }});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelTest::TemporaryDirectory directory;
        const auto file = directory / "config.json";
        c.make(file);
        std::vector<StoreDiagnostic> diagnostics;
        FileConfigStore store(file, [&](const StoreDiagnostic& d) { diagnostics.push_back(d); });

        const auto loaded = store.load();
        ASSERT_FALSE(loaded);
        EXPECT_EQ(loaded.error().path, file);
        EXPECT_EQ(loaded.error().code, std::error_code(c.error, std::generic_category()));
        store.save(paired);
        EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"config.json"});
        EXPECT_FALSE(store.load());
        ASSERT_EQ(diagnostics.size(), 2u);
        EXPECT_EQ(diagnostics[0].event, StoreDiagnostic::Event::readFailed);
        EXPECT_EQ(diagnostics[0].message, loaded.error().code.message());

        // Readable again: it is what counts, and saves go through.
        std::filesystem::remove(file);
        writeText(file, R"({"serverURL":"x","channels":[]})");
        EXPECT_EQ(store.load().value().serverURL, "x");
        store.save(paired);
        EXPECT_EQ(store.load().value(), paired);
    }
}

} // namespace
} // namespace OrvelKit
