#include "orvel/core/XdgLaunchAtLogin.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace Orvel {
namespace {

using OrvelTest::readText;
using OrvelTest::writeText;

struct XdgAutostart : testing::Test {
    OrvelTest::TemporaryDirectory configHome;
    std::filesystem::path entry = configHome / "autostart" / "orvel.desktop";

    void writeEntry(std::string_view text) {
        std::filesystem::create_directories(entry.parent_path());
        writeText(entry, text);
    }
};

TEST_F(XdgAutostart, EnablingWritesAnEntryAndDisablingRemovesIt) {
    XdgLaunchAtLogin launch(configHome.path(), "/usr/bin/orvel");
    EXPECT_FALSE(launch.isEnabled());

    EXPECT_TRUE(launch.setEnabled(true));
    EXPECT_EQ(readText(entry), "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Orvel\n"
                               "Icon=app.orvel.Orvel\n"
                               "Exec=\"/usr/bin/orvel\"\n"
                               "X-GNOME-Autostart-enabled=true\n");
    // Another instance reads the same state.
    EXPECT_TRUE(XdgLaunchAtLogin(configHome.path(), "/usr/bin/orvel").isEnabled());

    EXPECT_FALSE(launch.setEnabled(false));
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(XdgAutostart, WithoutAnExecutableOrAPlaceForTheEntryItStaysOff) {
    writeEntry("[Desktop Entry]\nType=Application\nExec=orvel\n");
    XdgLaunchAtLogin launch(configHome.path(), "");
    EXPECT_FALSE(launch.isEnabled());
    EXPECT_FALSE(launch.setEnabled(true));
    EXPECT_FALSE(launch.setEnabled(false));
    EXPECT_TRUE(std::filesystem::exists(entry)); // not ours to touch
    EXPECT_FALSE(XdgLaunchAtLogin("", "/usr/bin/orvel").setEnabled(true));
    // "autostart" is a file, so no entry can be created.
    std::filesystem::remove_all(configHome / "autostart");
    writeText(configHome / "autostart", "");
    EXPECT_FALSE(XdgLaunchAtLogin(configHome.path(), "/usr/bin/orvel").setEnabled(true));
}

TEST_F(XdgAutostart, ReadsTheStateTheDesktopWouldSee) {
    struct Case {
        const char* text;
        bool enabled;
    };
    const Case cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=orvel\n", true},
        {"# made by hand\n\n[Desktop Entry]\r\nName[de]=Orvel\r\nHidden = false\r\n", true},
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=orvel\n[Desktop Action x]\nHidden=true\n", true},
        {"Exec=orvel\n[Desktop Entry]\n", false},
    };
    XdgLaunchAtLogin launch(configHome.path(), "/usr/bin/orvel");
    for (const Case& c : cases) {
        writeEntry(c.text);
        EXPECT_EQ(launch.isEnabled(), c.enabled) << c.text;
    }
    // Switching on replaces an entry the desktop has hidden.
    writeEntry("[Desktop Entry]\nHidden=true\n");
    EXPECT_TRUE(launch.setEnabled(true));
}

TEST(XdgExecQuoting, QuotesAndEscapesTheExecutablePath) {
    EXPECT_EQ(XdgLaunchAtLogin::quotedExecArgument("/opt/My Apps/orvel"), "\"/opt/My Apps/orvel\"");
    // Quoting escapes first, then the string escapes double every backslash.
    EXPECT_EQ(XdgLaunchAtLogin::quotedExecArgument(R"(/a"b`c$d\e)"), R"("/a\\"b\\`c\\$d\\\\e")");
    EXPECT_EQ(XdgLaunchAtLogin::quotedExecArgument("/x/100%\ny"), R"("/x/100%%\ny")");
}

TEST(XdgConfigHome, FollowsTheXdgRules) {
    EXPECT_EQ(XdgLaunchAtLogin::configHome("/cfg", "/home/ann"), "/cfg");
    EXPECT_EQ(XdgLaunchAtLogin::configHome("relative", "/home/ann"), "/home/ann/.config");
    EXPECT_EQ(XdgLaunchAtLogin::configHome(nullptr, nullptr), "");
}

} // namespace
} // namespace Orvel
