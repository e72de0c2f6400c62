#include "orvelkit/json/JsonCodec.h"

namespace OrvelKit::Json {

RetainedBuffers retainedBuffers() {
    return RetainedBuffers{.parserCapacity = detail::threadParser().capacity(),
                           .outputSize = detail::threadOutput().largest};
}

} // namespace OrvelKit::Json
