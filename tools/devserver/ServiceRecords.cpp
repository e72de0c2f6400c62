// Decoders and encoders of the service's own answers; orvel-send reads them too.

#include "tools/devserver/ServiceRecords.h"

#include "orvelkit/json/JsonCodec.h"

namespace OrvelKit::Json {

using namespace OrvelDev;

ORVEL_JSON_INSTANTIATE(PublishAck)
ORVEL_JSON_INSTANTIATE(CardPublishAck)
ORVEL_JSON_INSTANTIATE(HealthAnswer)
ORVEL_JSON_INSTANTIATE(ErrorAnswer)

} // namespace OrvelKit::Json
