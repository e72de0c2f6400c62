// orvel_crash_driver <directory>: the app model as the desktop runs it, on the
// files in <directory> (config.json must name the service and a paired
// device), in a tight loop until it is killed. Each round refreshes,
// dismisses the newest update not yet dismissed, marks everything read every
// third round and flips a preference, waits until the inbox is on disk and
// then prints one line:
//
//   saved <round> <channel>:<seq>|- <channel>:<highest seq>:<count>:<read mark> ...
//
// naming the dismissal of the round (or "-") and, per channel, what the
// saved inbox holds. A failed refresh also prints "error <text>". The crash
// test kills this process at random moments and checks the files against the
// last line it saw.

#include "tests/orvel/reliability/LiveModel.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

namespace {

using namespace OrvelKit;

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string describe(const Inbox& inbox) {
    std::string text;
    for (const auto& channel : inbox.channels()) {
        std::uint64_t highest = 0;
        for (const auto& note : channel.notifications()) {
            highest = std::max(highest, note.seq);
        }
        text += " " + channel.channel() + ":" + std::to_string(highest) + ":" +
                std::to_string(channel.notifications().size()) + ":" +
                std::to_string(channel.lastReadSeq());
    }
    return text;
}

Task<void> churn(Orvel::AppModel& model) {
    for (std::uint64_t round = 1;; ++round) {
        co_await model.refresh();
        if (model.lastError()) {
            printLine("error " + *model.lastError());
        }
        std::optional<std::pair<std::string, std::uint64_t>> target;
        std::string id;
        for (const auto& channel : model.inbox().channels()) {
            for (const auto& note : channel.notifications()) {
                if (!channel.isDismissed(note.seq)) {
                    target.emplace(channel.channel(), note.seq);
                    id = note.id;
                    break;
                }
            }
            if (target) {
                break;
            }
        }
        if (target) {
            model.dismiss(id);
        }
        if (round % 3 == 0) {
            model.markAllRead();
        }
        model.setGroupActivityUpdates(round % 2 == 0);
        model.flushSaves();
        printLine("saved " + std::to_string(round) + " " +
                  (target ? target->first + ":" + std::to_string(target->second) : "-") +
                  describe(model.inbox()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: orvel_crash_driver <directory>\n", stderr);
        return 2;
    }
    OrvelTest::LiveModel live(argv[1]);
    live.run(churn(*live));
    return 0;
}
