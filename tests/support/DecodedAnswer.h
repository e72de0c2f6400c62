#pragma once

// A service's JSON answer as a test expects it: 200 and a body that decodes.

#include "orvelkit/json/Json.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace OrvelTest {

// The body of `result` decoded as R; a failure, and R{}, when the call
// failed, the status is not 200 or the body does not decode.
template <class R>
R decodedAnswer(const httplib::Result& result) {
    EXPECT_TRUE(result);
    if (!result) {
        return R{};
    }
    EXPECT_EQ(result->status, 200) << result->body;
    auto decoded = OrvelKit::Json::decode<R>(result->body);
    EXPECT_TRUE(decoded) << result->body;
    return decoded ? *decoded : R{};
}

} // namespace OrvelTest
