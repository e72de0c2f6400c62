#include "orvelkit/store/FileContents.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>

namespace OrvelKit {

namespace {

// Below this, an ordinary allocation is as cheap.
constexpr std::size_t mappingThreshold = 1 << 20;

} // namespace

void detail::ReleaseBuffer::operator()(char* buffer) const {
    if (mappedLength > 0) {
        ::munmap(buffer, mappedLength);
    } else {
        delete[] buffer;
    }
}

FileContents::FileContents(std::size_t capacity) : capacity_(capacity) {
    const std::size_t length = capacity + padding;
    if (length >= mappingThreshold) {
        void* mapped = ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped != MAP_FAILED) {
            buffer_ = std::unique_ptr<char, detail::ReleaseBuffer>(static_cast<char*>(mapped),
                                                                   detail::ReleaseBuffer{length});
            return;
        }
    }
    // Zeroed, like a fresh mapping, so the padding is zero either way.
    buffer_ =
        std::unique_ptr<char, detail::ReleaseBuffer>(new char[length](), detail::ReleaseBuffer{0});
}

void FileContents::enlarge() {
    FileContents larger(std::max<std::size_t>(capacity_ * 2, 4096));
    std::memcpy(larger.buffer_.get(), buffer_.get(), size_);
    larger.size_ = size_;
    *this = std::move(larger);
}

} // namespace OrvelKit
