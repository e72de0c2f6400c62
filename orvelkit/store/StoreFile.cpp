#include "orvelkit/store/StoreFile.h"

#include "orvelkit/store/AtomicFile.h"

#include <sys/stat.h>

namespace OrvelKit {

std::optional<FileContents> StoreFile::read() const {
    auto contents = readWholeFile(file_);
    if (!contents) {
        if (!contents.error().notFound()) {
            report(StoreDiagnostic::Event::readFailed, contents.error().description());
            preserve();
        }
        return std::nullopt;
    }
    if (auto restricted = restrictToOwner(file_); !restricted) {
        report(StoreDiagnostic::Event::readFailed, restricted.error().description());
    }
    return std::move(contents).value();
}

void StoreFile::reject(std::string_view reason) const {
    report(StoreDiagnostic::Event::decodeFailed, std::string(reason));
    preserve();
}

bool StoreFile::write(std::string_view contents) const {
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

void StoreFile::preserve() const {
    auto preserved = preserveUnreadableFile(file_);
    if (!preserved) {
        report(StoreDiagnostic::Event::preserveFailed, preserved.error().description());
        return;
    }
    if (diagnostics_) {
        diagnostics_(StoreDiagnostic{StoreDiagnostic::Event::preserved, *preserved,
                                     "moved aside from " + file_.string()});
    }
}

} // namespace OrvelKit
