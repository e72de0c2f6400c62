#pragma once

// The web inbox at "/app": static pages built into the service, sent with a
// policy that lets them run only their own scripts and talk only to this
// service.

namespace httplib {
class Server;
}

namespace OrvelDev {

// The Content-Security-Policy of every page under "/app".
inline constexpr const char* webAppPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; "
    "img-src 'none'; font-src 'none'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";

void serveWebApp(httplib::Server& server);

} // namespace OrvelDev
