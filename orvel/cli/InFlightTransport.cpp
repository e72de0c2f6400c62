#include "orvel/cli/InFlightTransport.h"

namespace Orvel::Cli {

OrvelKit::Task<OrvelKit::TransportResult> InFlightTransport::send(OrvelKit::HTTPRequest request) {
    return forward(inner_, counts_, std::move(request));
}

OrvelKit::Task<OrvelKit::TransportResult>
InFlightTransport::forward(std::shared_ptr<OrvelKit::HTTPTransport> inner,
                           std::shared_ptr<Counts> counts, OrvelKit::HTTPRequest request) {
    ++counts->inFlight;
    ++counts->sent;
    auto result = co_await inner->send(std::move(request));
    if (--counts->inFlight == 0 && counts->onIdle) {
        counts->onIdle();
    }
    co_return result;
}

} // namespace Orvel::Cli
