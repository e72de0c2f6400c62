#include "tools/devserver/Usage.h"

namespace OrvelDev {

const std::string_view devServerUsage =
    R"(usage: orvel-devserver [--host HOST] [--port PORT] [--state FILE] [--fault RULE]...

A development Orvel service: accounts, devices, pairing codes, channels,
publish keys, updates and persistent cards, over plain HTTP.

  --host HOST    address to listen on (default 127.0.0.1)
  --port PORT    port to listen on, 0 for any free port (default 8787)
  --state FILE   keep the state in FILE (loaded at start, saved after every
                 change, mode 0600: it holds tokens); without it the state
                 lives in memory only
  --fault RULE   misbehave on purpose, to test clients: ENDPOINT=KIND[:VALUE][*TIMES]
                 with KIND one of status:CODE, malformed, truncated,
                 invalid-notification, delay:MILLISECONDS, close-mid-body;
                 e.g. --fault /sync=status:503*3 (may be repeated)
  --help         show this text

One line per request goes to standard error. Stop with Ctrl-C.
)";

} // namespace OrvelDev
