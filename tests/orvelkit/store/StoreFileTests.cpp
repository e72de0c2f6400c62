// The two file stores, configuration and inbox, share their file handling:
// what loads, what is moved aside and kept, and saves.

#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/store/FileInboxStore.h"
#include "tests/support/Records.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

namespace OrvelKit {
namespace {

using OrvelTest::namesIn;
using OrvelTest::readText;
using OrvelTest::writeText;

template <class Value>
struct FormatCase {
    const char* name;
    const char* json;
    std::optional<Value> expected; // nothing: the file is rejected
};

struct ConfigFiles {
    using Store = FileConfigStore;
    using Value = AppConfig;
    static constexpr const char* fileName = "config.json";
    static constexpr bool skipsUnchangedSaves = true;
    static Value fallback() { return AppConfig::defaultConfiguration(); }
    // Changed, it keeps the file's length.
    static Value sample(bool changed = false) {
        return {"https://s.example/",
                {ChannelConfig{"c1", "orvel_pub_1", "2025-03-01T10:00:00Z"},
                 ChannelConfig{"c1", changed ? "orvel_pub_3" : "orvel_pub_2", std::nullopt}},
                "dev_token",
                "acct"};
    }
    static std::string sampleFile() {
        return R"({"serverURL":"https://s.example/","channels":[{"channel":"c1","token":"orvel_pub_1",)"
               R"("createdAt":"2025-03-01T10:00:00Z"},{"channel":"c1","token":"orvel_pub_2"}],)"
               R"("deviceToken":"dev_token","accountId":"acct"})";
    }
    static std::vector<FormatCase<Value>> cases() {
        return {
            {"complete", R"({"serverURL":"https://s.example/","channels":[
                {"channel":"c1","token":"orvel_pub_1","createdAt":"2025-03-01T10:00:00Z"},
                {"channel":"c1","token":"orvel_pub_2"}],"deviceToken":"dev_token",
                "accountId":"acct","unknown":{"nested":[1,2]}})",
             sample()},
            {"nullOptionalsAfterAByteOrderMark",
             "\xEF\xBB\xBF{\"serverURL\":\"x\",\"channels\":[{\"channel\":\"c\",\"token\":\"t\","
             "\"createdAt\":null}],\"deviceToken\":null}",
             AppConfig{"x", {ChannelConfig{"c", "t", std::nullopt}}, std::nullopt, std::nullopt}},
            {"serverNotAString", R"({"serverURL":5,"channels":[]})", std::nullopt},
        };
    }
};

struct InboxFiles {
    using Store = FileInboxStore;
    using Value = Inbox;
    static constexpr const char* fileName = "inbox.json";
    static constexpr bool skipsUnchangedSaves = false;
    static Value fallback() { return Inbox(); }
    static Value sample(bool changed = false) {
        return Inbox({ChannelInbox("c", changed ? "Bui1ds" : "Builds", true,
                                   {OrvelTest::notification("c", 3)}, {}, 1, 2, 0, {9, 3})});
    }
    static std::string sampleFile() {
        return std::string(R"({"channels":[{"channel":"c","name":"Builds","owned":true,)"
                           R"("notifications":[)") +
               *OrvelProtocol::encode(OrvelTest::notification("c", 3)) +
               R"(],"cardUpdates":[],"lastReadSeq":1,"latestSeq":3,"latestCardSeq":0,)"
               R"("dismissedSeqs":[3,9]}]})";
    }
    static ChannelInbox bare(std::string id, bool owned = false, SequenceSet dismissed = {}) {
        return ChannelInbox(std::move(id), std::nullopt, owned, {}, {}, 0, 0, 0, dismissed);
    }
    static std::vector<FormatCase<Value>> cases() {
        return {
            {"onlyChannelOrNullsTakeDefaults",
             R"({"channels":[{"channel":"c","extra":[{}]},)"
             R"({"channel":"d","name":null,"owned":null,"lastReadSeq":null}]})",
             Inbox({bare("c"), bare("d")})},
            {"repeatedChannelKeepsTheFirst",
             R"({"channels":[{"channel":"c","owned":true,"dismissedSeqs":[4,2,4]},{"channel":"c"}]})",
             Inbox({bare("c", true, {2, 4})})},
            {"truncated", R"({"channels":[{"channel":"c","notifications":[)", std::nullopt},
        };
    }
};

template <class Files>
class StoreFiles : public testing::Test {
protected:
    using Store = typename Files::Store;
    OrvelTest::TemporaryDirectory directory;
    std::filesystem::path file = directory / Files::fileName;
    std::vector<StoreDiagnostic> diagnostics;
    Store store{file, [this](const StoreDiagnostic& d) { diagnostics.push_back(d); }};
};

using Formats = testing::Types<ConfigFiles, InboxFiles>;
TYPED_TEST_SUITE(StoreFiles, Formats);

TYPED_TEST(StoreFiles, LoadsOrFallsBackKeepingARejectedFileByteForByte) {
    for (const auto& format : TypeParam::cases()) {
        SCOPED_TRACE(format.name);
        this->diagnostics.clear();
        for (const auto& name : namesIn(this->directory.path())) {
            std::filesystem::remove(this->directory / name);
        }
        writeText(this->file, format.json);

        EXPECT_EQ(this->store.load().value(), format.expected.value_or(TypeParam::fallback()));
        if (format.expected) {
            EXPECT_TRUE(this->diagnostics.empty());
            EXPECT_EQ(namesIn(this->directory.path()),
                      std::vector<std::string>{TypeParam::fileName});
            continue;
        }
        ASSERT_EQ(this->diagnostics.size(), 2u);
        EXPECT_EQ(this->diagnostics[0].event, StoreDiagnostic::Event::decodeFailed);
        EXPECT_EQ(this->diagnostics[1].event, StoreDiagnostic::Event::preserved);
        const auto kept = this->diagnostics[1].file;
        EXPECT_EQ(readText(kept), format.json);
        EXPECT_TRUE(kept.filename().string().starts_with(std::string(TypeParam::fileName) +
                                                         ".unreadable-"));
        EXPECT_EQ(namesIn(this->directory.path()),
                  std::vector<std::string>{kept.filename().string()});
        // No save replaces the kept copy.
        this->store.save(TypeParam::sample());
        EXPECT_EQ(this->store.load().value(), TypeParam::sample());
        EXPECT_EQ(readText(kept), format.json);
    }
}

TYPED_TEST(StoreFiles, SavesTheDocumentedFormatAndEveryChange) {
    this->store.save(TypeParam::sample());
    EXPECT_EQ(readText(this->file), TypeParam::sampleFile());
    EXPECT_EQ(this->store.load().value(), TypeParam::sample());

    const auto inode = OrvelTest::inodeOf(this->file);
    this->store.save(TypeParam::sample());
    if (TypeParam::skipsUnchangedSaves) {
        EXPECT_EQ(OrvelTest::inodeOf(this->file), inode) << "an unchanged file was rewritten";
    }
    // A change that keeps the length must still reach the file.
    this->store.save(TypeParam::sample(true));
    EXPECT_EQ(this->store.load().value(), TypeParam::sample(true));
    EXPECT_TRUE(this->diagnostics.empty());
}

// Files made under a strict and an open umask are CrashSafety's; one found
// open to others is narrowed when it is loaded.
TYPED_TEST(StoreFiles, AFileOthersCouldReadIsNarrowedWhenLoaded) {
    writeText(this->file, TypeParam::sampleFile(), 0666);
    EXPECT_EQ(this->store.load().value(), TypeParam::sample());
    EXPECT_EQ(OrvelTest::modeOf(this->file), 0600u);
}

// Not being able to read a file says nothing about what it holds: it stays
// where it is, and nothing is written over it until a read succeeds.
TYPED_TEST(StoreFiles, AFileThatCannotBeReadIsAnErrorAndIsNeverWrittenOver) {
    struct Case {
        const char* name;
        int error;
        void (*make)(const std::filesystem::path&);
    };
    std::vector<Case> cases = {
        {"directory", EISDIR, [](const auto& file) { std::filesystem::create_directory(file); }},
    };
    if (::geteuid() != 0) {
        cases.push_back({"noPermission", EACCES,
                         [](const auto& file) { writeText(file, TypeParam::sampleFile(), 0200); }});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        this->diagnostics.clear();
        std::filesystem::remove_all(this->file);
        c.make(this->file);

        const auto loaded = this->store.load();
        ASSERT_FALSE(loaded);
        EXPECT_EQ(loaded.error().path, this->file);
        EXPECT_EQ(loaded.error().code, std::error_code(c.error, std::generic_category()));
        this->store.save(TypeParam::sample());
        EXPECT_EQ(namesIn(this->directory.path()), std::vector<std::string>{TypeParam::fileName});
        EXPECT_FALSE(this->store.load());
        ASSERT_FALSE(this->diagnostics.empty());
        EXPECT_EQ(this->diagnostics[0].event, StoreDiagnostic::Event::readFailed);

        // Readable again: it is what counts, and saves go through.
        std::filesystem::remove(this->file);
        writeText(this->file, TypeParam::sampleFile());
        EXPECT_EQ(this->store.load().value(), TypeParam::sample());
        this->store.save(TypeParam::sample(true));
        EXPECT_EQ(this->store.load().value(), TypeParam::sample(true));
    }
}

} // namespace
} // namespace OrvelKit
