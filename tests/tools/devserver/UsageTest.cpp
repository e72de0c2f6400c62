// orvel-devserver's --help text, which its man page is written from, against
// the program: every option the text lists is one it knows.

#include "tools/devserver/Usage.h"

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

TEST(DevServerUsage, ListsOnlyOptionsTheProgramKnows) {
    const std::string usage(OrvelDev::devServerUsage);
    const std::regex listed("\n  (--[a-z-]+)");
    int count = 0;
    for (std::sregex_iterator it(usage.begin(), usage.end(), listed), end; it != end; ++it) {
        // Without its value: a known option asks for one and nothing starts.
        const std::string option = (*it)[1];
        OrvelTest::ChildProcess program({ORVEL_DEVSERVER_PROGRAM, option});
        const int status = program.wait();
        EXPECT_EQ(program.output().find("unknown option"), std::string::npos) << option;
        EXPECT_EQ(status, option == "--help" ? 0 : 2) << program.output();
        ++count;
    }
    EXPECT_GT(count, 3) << "the option list was not found";

    OrvelTest::ChildProcess unknown({ORVEL_DEVSERVER_PROGRAM, "--frobnicate"});
    EXPECT_EQ(unknown.wait(), 2);
    EXPECT_NE(unknown.output().find("unknown option --frobnicate"), std::string::npos);
}

} // namespace
