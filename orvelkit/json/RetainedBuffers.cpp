#include "orvelkit/json/JsonCodec.h"

namespace OrvelKit::Json {

RetainedBuffers retainedBuffers() {
    return RetainedBuffers{.unescapeCapacity = detail::threadScratch().capacity(),
                           .outputSize = detail::threadOutput().largest};
}

} // namespace OrvelKit::Json
