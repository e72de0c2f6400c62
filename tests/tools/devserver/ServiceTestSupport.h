#pragma once

// Shortcuts for tests of DevService: unwrap results and read statuses.

#include "tools/devserver/DevService.h"

#include <gtest/gtest.h>

namespace OrvelDev::Testing {

template <class T>
T value(const ServiceResult<T>& result) {
    EXPECT_TRUE(result.hasValue()) << (result ? "" : result.error().message);
    return result ? *result : T{};
}

// 200 for a success, else the refusal's status.
template <class T>
int status(const ServiceResult<T>& result) {
    return result ? 200 : result.error().status;
}

inline OrvelProtocol::NotificationInput update(std::string title) {
    OrvelProtocol::NotificationInput input;
    input.title = std::move(title);
    return input;
}

inline OrvelProtocol::PersistentCardUpdateInput cardUpdate(std::string updateId) {
    OrvelProtocol::PersistentCardUpdateInput input;
    input.cardKey = "spend";
    input.definition = {{{"total", "money", "Total", "primary"}}, "metric", 1, "Spend"};
    input.operation = {{}, "snapshot", std::nullopt, {}};
    input.updateId = std::move(updateId);
    return input;
}

} // namespace OrvelDev::Testing
