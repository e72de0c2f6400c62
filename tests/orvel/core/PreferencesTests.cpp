#include "orvel/core/FilePreferences.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace Orvel {
namespace {

using OrvelKit::Date;
using OrvelKit::StoreDiagnostic;
using OrvelTest::readText;
using OrvelTest::writeText;

using Strings = std::vector<std::string>;

struct PreferencesFile : testing::Test {
    OrvelTest::TemporaryDirectory directory;
    std::filesystem::path file = directory / "orvel" / "preferences.json";
    std::vector<StoreDiagnostic> diagnostics;

    FilePreferences open() {
        return FilePreferences(file,
                               [this](const StoreDiagnostic& d) { diagnostics.push_back(d); });
    }
    void writeFile(std::string_view text) {
        std::filesystem::create_directories(file.parent_path());
        writeText(file, text);
    }
};

TEST_F(PreferencesFile, WritesEachTypeInItsOwnForm) {
    auto preferences = open();
    preferences.set("onlyInterrupt", true);
    preferences.set("lastInboxOpenedAt", Date::fromMicrosecondsSinceEpoch(1796552130250001));
    preferences.set("pinnedCardIds", Strings{"a", "b"});
    preferences.set("popoverWindowWidth", 500.0);
    preferences.set("popoverWindowSizeVersion", std::int64_t{2});

    EXPECT_EQ(
        readText(file),
        R"({"version":1,"values":{"lastInboxOpenedAt":{"date":"2026-12-06T10:15:30.250001Z"},)"
        R"("onlyInterrupt":true,"pinnedCardIds":["a","b"],"popoverWindowSizeVersion":2,)"
        R"("popoverWindowWidth":500.0}})");
    EXPECT_TRUE(diagnostics.empty()); // modes are CrashSafety's concern
}

TEST_F(PreferencesFile, ADamagedFileIsKeptAsideAndNeverOverwritten) {
    const std::vector<std::string> damaged = {
        R"({"version":1,"values":{"a":true)",         // cut short
        R"({"version":2,"values":{"a":true}})",       // a later format
        "{\"version\":1,\"values\":{\"a\":\"\xff\"}}" // not UTF-8
    };
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        std::filesystem::remove_all(file.parent_path());
        diagnostics.clear();
        writeFile(text);

        auto preferences = open();
        EXPECT_EQ(preferences.value("a"), std::nullopt);
        ASSERT_EQ(diagnostics.size(), 2u);
        EXPECT_EQ(diagnostics[0].event, StoreDiagnostic::Event::decodeFailed);
        EXPECT_EQ(diagnostics[1].event, StoreDiagnostic::Event::preserved);
        const auto kept = diagnostics[1].file;
        EXPECT_TRUE(kept.filename().string().starts_with("preferences.json.unreadable-"));

        preferences.set("b", true);
        EXPECT_EQ(readText(kept), text);
        EXPECT_EQ(open().boolValue("b"), true);
    }
}

TEST_F(PreferencesFile, UnreadableEntriesAreAbsentButKept) {
    const std::string entries =
        R"("good":true,"text":"x","null":null,"mixed":["a",1],"big":18446744073709551615,)"
        R"("badDate":{"date":"2026-02-30T00:00:00.000000Z"},"offset":{"date":"2026-01-01T00:00:00+01:00"},)"
        R"("extra":{"date":"2026-01-01T00:00:00Z","zone":"x"},"other":{"colour":"red"},)"
        R"("good":false)";
    writeFile(R"({"version":1,"values":{)" + entries + "}}");
    auto preferences = open();
    EXPECT_TRUE(diagnostics.empty());
    EXPECT_EQ(preferences.boolValue("good"), true); // the first of a repeated key
    for (const char* key :
         {"text", "null", "mixed", "big", "badDate", "offset", "extra", "other"}) {
        EXPECT_EQ(preferences.value(key), std::nullopt) << key;
    }

    // A change elsewhere keeps what this version cannot read, as it was.
    preferences.set("new", std::int64_t{1});
    preferences.remove("other");
    const std::string written = readText(file);
    EXPECT_NE(written.find(R"("mixed":["a",1])"), std::string::npos);
    EXPECT_NE(written.find(R"("offset":{"date":"2026-01-01T00:00:00+01:00"})"), std::string::npos);
    EXPECT_EQ(written.find("colour"), std::string::npos);
    EXPECT_EQ(open().integerValue("new"), 1);
}

TEST_F(PreferencesFile, RefusesTextThatIsNotUtf8) {
    auto preferences = open();
    preferences.set("ids", Strings{"kept"});
    preferences.set("ids", Strings{"\xC3"});
    preferences.set("\xFF", true);
    EXPECT_EQ(preferences.stringArray("ids"), Strings{"kept"});
    EXPECT_EQ(preferences.boolValue("\xFF"), std::nullopt);
    EXPECT_EQ(open().stringArray("ids"), Strings{"kept"});
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0].event, StoreDiagnostic::Event::encodeFailed);
}

} // namespace
} // namespace Orvel
