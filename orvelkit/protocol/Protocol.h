#pragma once

// The wire protocol: every record the service and this client exchange, and
// their JSON decoding and encoding (OrvelKit::Json::decode / encode, which are
// instantiated for every record listed here).

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/ChannelRecords.h"
#include "orvelkit/protocol/DeviceRecords.h"
#include "orvelkit/protocol/Enumerations.h"
#include "orvelkit/protocol/Notification.h"
#include "orvelkit/protocol/PersistentCard.h"
#include "orvelkit/protocol/PushAndVault.h"
#include "orvelkit/protocol/RequestBodies.h"
#include "orvelkit/protocol/SyncResponse.h"

#include <string_view>

namespace OrvelProtocol {

// The protocol's version. Part of the library's surface; no request carries it.
inline constexpr std::string_view version = "0.2.0";

using OrvelKit::Json::decode;
using OrvelKit::Json::encode;

} // namespace OrvelProtocol
