#include "orvelkit/client/ClientError.h"

namespace OrvelKit {

std::string ClientError::description() const {
    return std::visit([](const auto& error) { return error.description(); }, error_);
}

} // namespace OrvelKit
