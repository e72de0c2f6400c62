#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace OrvelKit {

namespace detail {
// Frees a FileContents buffer: unmaps it, or deletes it when it was not mapped.
struct ReleaseBuffer {
    std::size_t mappedLength = 0;
    void operator()(char* buffer) const;
};
} // namespace detail

// The bytes of a whole file, followed by `padding` zero bytes (which parsers
// that read ahead may rely on).
//
// Large buffers are mapped with their pages populated in one go, which for a
// file of tens of megabytes costs a fraction of the page faults that filling a
// string one page at a time does.
class FileContents {
public:
    static constexpr std::size_t padding = 64;

    FileContents() = default;
    // Room for `capacity` bytes (plus the padding); size() is 0.
    explicit FileContents(std::size_t capacity);

    const char* data() const { return buffer_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    std::string_view view() const { return {buffer_.get(), size_}; }

    // Where the next bytes go, and how many of them arrived.
    char* end() { return buffer_.get() + size_; }
    void grow(std::size_t count) { size_ += count; }
    // Moves the bytes into a buffer twice as large.
    void enlarge();

    bool operator==(std::string_view text) const { return view() == text; }

private:
    std::unique_ptr<char, detail::ReleaseBuffer> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace OrvelKit
