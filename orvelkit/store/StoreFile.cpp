#include "orvelkit/store/StoreFile.h"

#include "orvelkit/store/AtomicFile.h"

#include <sys/stat.h>

namespace OrvelKit {

Expected<std::optional<FileContents>, FileError> StoreFile::read() {
    auto contents = readWholeFile(file_);
    if (!contents) {
        if (contents.error().notFound()) {
            protected_ = false;
            return std::optional<FileContents>();
        }
        // Not the contents' fault: the file may well be fine and readable
        // again later, so it stays where it is, untouched.
        protected_ = true;
        report(StoreDiagnostic::Event::readFailed, contents.error().code.message());
        return unexpected(std::move(contents).error());
    }
    protected_ = false;
    if (auto restricted = restrictToOwner(file_); !restricted) {
        report(StoreDiagnostic::Event::restrictFailed, restricted.error().description());
    }
    return std::optional<FileContents>(std::move(contents).value());
}

std::string_view StoreFile::text(const FileContents& contents) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    std::string_view text = contents.view();
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
    }
    return text;
}

void StoreFile::reject(std::string_view reason) {
    report(StoreDiagnostic::Event::decodeFailed, std::string(reason));
    protected_ = !preserve();
}

bool StoreFile::write(std::string_view contents) const {
    if (protected_) {
        return false;
    }
    if (auto created = createPrivateDirectories(file_.parent_path()); !created) {
        report(StoreDiagnostic::Event::writeFailed, created.error().description());
        return false;
    }
    if (auto written = writeFileAtomically(file_, contents); !written) {
        report(StoreDiagnostic::Event::writeFailed, written.error().description());
        return false;
    }
    return true;
}

bool StoreFile::writeIfChanged(std::string_view contents) const {
    struct stat status {};
    if (::stat(file_.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        (status.st_mode & 077) == 0 &&
        static_cast<std::size_t>(status.st_size) == contents.size()) {
        if (auto current = readWholeFile(file_); current && *current == contents) {
            return true;
        }
    }
    return write(contents);
}

void StoreFile::report(StoreDiagnostic::Event event, std::string message) const {
    if (diagnostics_) {
        diagnostics_(StoreDiagnostic{event, file_, std::move(message)});
    }
}

bool StoreFile::preserve() const {
    auto preserved = preserveUnreadableFile(file_);
    if (!preserved) {
        report(StoreDiagnostic::Event::preserveFailed, preserved.error().code.message());
        return false;
    }
    if (diagnostics_) {
        diagnostics_(StoreDiagnostic{StoreDiagnostic::Event::preserved, *preserved,
                                     "moved aside from " + file_.string()});
    }
    return true;
}

} // namespace OrvelKit
