// The --help texts of orvel-server and orvel-devserver, which their man pages
// are written from, against the programs: every option a text lists is one
// the program knows.

#include "tools/devserver/Usage.h"

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

TEST(DevServerUsage, ListsOnlyOptionsTheProgramKnows) {
    const struct {
        const char* program;
        const std::string& usage;
    } programs[] = {{ORVEL_SERVER_PROGRAM, OrvelDev::serverUsage},
                    {ORVEL_DEVSERVER_PROGRAM, OrvelDev::devServerUsage}};
    for (const auto& [program, usage] : programs) {
        SCOPED_TRACE(program);
        // An option, and whether a value follows it.
        const std::regex listed("\n  (--[a-z-]+)( [A-Z])?");
        int count = 0;
        for (std::sregex_iterator it(usage.begin(), usage.end(), listed), end; it != end; ++it) {
            // Without its value a known option asks for one; a switch is
            // followed by a bad port. Either way nothing starts.
            const std::string option = (*it)[1];
            std::vector<std::string> arguments{program, option};
            if (!(*it)[2].matched && option != "--help") {
                arguments.insert(arguments.end(), {"--port", "x"});
            }
            OrvelTest::ChildProcess child(arguments);
            const int status = child.wait();
            EXPECT_EQ(child.output().find("unknown option"), std::string::npos) << option;
            EXPECT_EQ(status, option == "--help" ? 0 : 2) << option << ": " << child.output();
            ++count;
        }
        EXPECT_GT(count, 10) << "the option list was not found";

        OrvelTest::ChildProcess unknown({program, "--frobnicate"});
        EXPECT_EQ(unknown.wait(), 2);
        EXPECT_NE(unknown.output().find("unknown option --frobnicate"), std::string::npos);
    }
    // The service proper keeps its state on disk, always.
    OrvelTest::ChildProcess server({ORVEL_SERVER_PROGRAM, "--port", "0"});
    EXPECT_EQ(server.wait(), 2);
    EXPECT_NE(server.output().find("--data-dir DIR is needed"), std::string::npos);
}

} // namespace
