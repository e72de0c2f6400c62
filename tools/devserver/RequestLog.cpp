#include "tools/devserver/RequestLog.h"

#include "tools/devserver/DevService.h"

#include <array>
#include <cstdio>

namespace OrvelDev {

namespace {

bool isTokenCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

} // namespace

std::string loggablePath(std::string_view target) {
    const std::string_view path = target.substr(0, target.find('?'));
    constexpr std::array prefixes{DevService::publishTokenPrefix, DevService::deviceTokenPrefix};
    std::string line;
    for (std::size_t i = 0; i < path.size();) {
        bool masked = false;
        for (const std::string_view prefix : prefixes) {
            if (path.substr(i).starts_with(prefix)) {
                line += prefix;
                line += "***";
                i += prefix.size();
                while (i < path.size() && isTokenCharacter(path[i])) {
                    ++i;
                }
                masked = true;
                break;
            }
        }
        if (masked) {
            continue;
        }
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            line += escaped;
        } else {
            line += path[i];
        }
        ++i;
    }
    return line;
}

std::string requestLogLine(std::string_view method, std::string_view target, int status,
                           double milliseconds) {
    char tail[48];
    std::snprintf(tail, sizeof tail, " %d %.1fms", status, milliseconds);
    return loggablePath(method) + " " + loggablePath(target) + tail;
}

} // namespace OrvelDev
