#include "tests/support/Records.h"

#include "orvelkit/presentation/PresentationHelpers.h"

#include <cstdio>
#include <cstdlib>

namespace OrvelTest {

OrvelKit::Date at(const std::string& timestamp) {
    const auto date = OrvelKit::Presentation::parseISO(timestamp);
    if (!date) {
        std::fprintf(stderr, "unreadable test timestamp %s\n", timestamp.c_str());
        std::abort();
    }
    return *date;
}

} // namespace OrvelTest
