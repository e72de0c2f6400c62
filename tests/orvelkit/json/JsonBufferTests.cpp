// The per-thread buffers behind decode and encode: texts are never read past
// their end, and large buffers go back once their text is done.

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

using namespace OrvelProtocol;
using OrvelKit::Json::retainedBufferLimit;
using OrvelKit::Json::retainedBuffers;

namespace {

// Two pages, the second unreadable: a parser that reads past a text ending
// near the boundary faults.
class GuardedPage {
public:
    GuardedPage() : size_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {
        void* memory =
            ::mmap(nullptr, 2 * size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory != MAP_FAILED) {
            memory_ = static_cast<char*>(memory);
            ::mprotect(memory_ + size_, size_, PROT_NONE);
        }
    }
    ~GuardedPage() {
        if (memory_ != nullptr) {
            ::munmap(memory_, 2 * size_);
        }
    }
    bool ready() const { return memory_ != nullptr; }

    // `text` copied so that it ends `gap` bytes before the unreadable page.
    std::string_view place(std::string_view text, std::size_t gap) {
        char* begin = memory_ + size_ - gap - text.size();
        std::memcpy(begin, text.data(), text.size());
        return {begin, text.size()};
    }

private:
    std::size_t size_;
    char* memory_ = nullptr;
};

} // namespace

TEST(JsonBuffers, TextsEndingAnywhereNearAPageEndDecode) {
    GuardedPage page;
    ASSERT_TRUE(page.ready());
    // A string close to the end is where the parser reads furthest ahead
    // (up to 64 bytes past the end).
    const std::string_view json = R"({"read_seq":7,"channel":"ch_1"})";
    for (std::size_t gap = 0; gap <= 160; ++gap) {
        auto ack = decode<ReadAck>(page.place(json, gap));
        ASSERT_TRUE(ack) << gap << ": " << ack.error();
        EXPECT_EQ(*ack, (ReadAck{"ch_1", 7})) << gap;
    }
    EXPECT_FALSE(decode<ReadAck>(page.place("", 0)));
}

TEST(JsonBuffers, SmallBuffersAreKeptAndLargeOnesReleasedOnceTheirTextIsDone) {
    const std::string large(3 * retainedBufferLimit, 'x');
    const std::string largeJson = R"({"channel":")" + large + R"(","read_seq":1})";
    // Only strings with escapes need the reader's buffer.
    const std::string escapedJson = R"({"channel":"\n)" + large + R"(","read_seq":1})";
    const std::string smallJson = R"({"channel":"c\n","read_seq":1})";

    ASSERT_TRUE(decode<ReadAck>(smallJson));
    EXPECT_GE(retainedBuffers().unescapeCapacity, 2u);
    // A large text, decoded or failing, leaves nothing large behind.
    for (const std::string& json : {escapedJson, escapedJson.substr(0, escapedJson.size() - 1)}) {
        EXPECT_EQ(static_cast<bool>(decode<ReadAck>(json)), json == escapedJson);
        EXPECT_LE(retainedBuffers().unescapeCapacity, retainedBufferLimit);
    }

    ASSERT_EQ(encode(ReadAck{large, 1}).value().size(), largeJson.size());
    EXPECT_EQ(retainedBuffers().outputSize, 0u);
    ASSERT_TRUE(encode(ReadAck{"c", 1}));
    EXPECT_GT(retainedBuffers().outputSize, 0u);
}
