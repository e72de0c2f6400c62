#pragma once

// Sends one SendCommand to the service with libcurl (one synchronous request)
// and reads the service's acknowledgement.

#include "orvelkit/support/Expected.h"
#include "tools/send/SendCommand.h"

#include <string>

namespace OrvelSend {

// The line orvel-send prints on success, such as
// "id=ntf_… seq=3 channel=ch_… created_at=2026-12-06T10:15:30.123Z"
// (card updates report card_seq). Failures are one line for the user; they
// never contain the token.
OrvelKit::Expected<std::string, std::string> publish(const SendCommand& command);

} // namespace OrvelSend
