// orvel_crash_driver <directory>: the app model as the desktop runs it, on the
// files in <directory> (config.json must name the service and a paired
// device with one channel), in a tight loop until it is killed. Each round
// refreshes, dismisses the oldest update not yet dismissed, marks everything
// read every third round and flips a preference, waits until the inbox is on
// disk and then prints one line:
//
//   saved <dismissed seq, 0 for none> <highest seq> <read mark>
//
// of the channel as the saved inbox holds it. A failed refresh also prints
// "error <text>". The crash test kills this process at random moments and
// checks the files against the last line it saw.

#include "tests/orvel/reliability/LiveModel.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace OrvelKit;

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

Task<void> churn(Orvel::AppModel& model) {
    for (std::uint64_t round = 1;; ++round) {
        co_await model.refresh();
        if (model.lastError()) {
            printLine("error " + *model.lastError());
        }
        std::uint64_t dismissed = 0;
        std::string id;
        for (const auto& channel : model.inbox().channels()) {
            for (const auto& note : channel.notifications()) {
                if (!dismissed && !channel.isDismissed(note.seq)) {
                    dismissed = note.seq;
                    id = note.id;
                }
            }
        }
        if (dismissed) {
            model.dismiss(id);
        }
        if (round % 3 == 0) {
            model.markAllRead();
        }
        model.setGroupActivityUpdates(round % 2 == 0);
        model.flushSaves();
        std::uint64_t highest = 0, readMark = 0;
        for (const auto& channel : model.inbox().channels()) {
            for (const auto& note : channel.notifications()) {
                highest = std::max(highest, note.seq);
            }
            readMark = channel.lastReadSeq();
        }
        printLine("saved " + std::to_string(dismissed) + " " + std::to_string(highest) + " " +
                  std::to_string(readMark));
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
