// Decoders and encoders of the state file's records. The wire records they
// contain are instantiated in the library.

#include "orvelkit/json/JsonCodec.h"
#include "tools/devserver/DevState.h"

namespace OrvelKit::Json {

using namespace OrvelDev;

ORVEL_JSON_INSTANTIATE(FollowState)
ORVEL_JSON_INSTANTIATE(AccountState)
ORVEL_JSON_INSTANTIATE(DeviceState)
ORVEL_JSON_INSTANTIATE(PairingCodeState)
ORVEL_JSON_INSTANTIATE(ChannelState)
ORVEL_JSON_INSTANTIATE(KeyState)
ORVEL_JSON_INSTANTIATE(DevState)

} // namespace OrvelKit::Json
