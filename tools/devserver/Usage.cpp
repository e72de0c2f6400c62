#include "tools/devserver/Usage.h"

namespace OrvelDev {

namespace {

const std::string commonOptions =
    R"(  --listen ADDRESS  address to listen on: HOST, HOST:PORT or [IPV6]:PORT
                    (default 127.0.0.1:8787)
  --host HOST       the host part alone
  --port PORT       the port alone, 0 for any free port
  --allow-remote    listen on an address other than loopback; the service
                    speaks plain HTTP, so only behind a TLS reverse proxy or
                    on a network you trust
  --sync-every-write  wait for the disk on every write, not only on those
                    that hand out a token
  --import-state FILE  read a JSON state file written by an older
                    orvel-devserver into an empty database
  --max-request-bytes N  refuse larger request bodies (413; default 4194304)
  --max-title N     longest title and sender, in characters (default 1000)
  --max-text N      longest body and details, in characters (default 65536)
  --max-label N     longest field, link, card key and update id, label and
                    value together, in characters (default 2000)
  --publish-rate N  publishes per minute per publish token, 0 for no limit
                    (429 with Retry-After; default 6000)
  --publish-burst N  publishes a token may make at once (default 1000)
  --max-channels N  live channels one account may own (403; default 1000)
  --help            show this text
)";

} // namespace

const std::string serverUsage =
    R"(usage: orvel-server --data-dir DIR [--listen ADDRESS] [OPTION]...

An Orvel service: accounts, devices, pairing codes, channels, publish keys,
updates and persistent cards, over plain HTTP, kept in a SQLite database.

  --data-dir DIR    keep the database in DIR (created with mode 0700)
)" + commonOptions +
    R"(
One line per request goes to standard error, tokens masked. SIGTERM or
SIGINT stops it: no new connections, the requests in progress finish, the
database is closed.
)";

const std::string devServerUsage =
    R"(usage: orvel-devserver [--listen ADDRESS] [--data-dir DIR] [--state FILE]
                       [--fault RULE]... [OPTION]...

The Orvel service in development mode: the state lives in memory unless
--data-dir is given, and faults can be injected to test clients.

  --data-dir DIR    keep the state in a database in DIR; without it the
                    state lives in memory only
  --state FILE      start from the state in a JSON file (imported into the
                    database with --data-dir while that is empty; without
                    --data-dir, changes are not written back)
  --fault RULE      misbehave on purpose, to test clients: ENDPOINT=KIND[:VALUE][*TIMES]
                    with KIND one of status:CODE, malformed, truncated,
                    invalid-notification, delay:MILLISECONDS, close-mid-body;
                    e.g. --fault /sync=status:503*3 (may be repeated)
)" + commonOptions +
    R"(
One line per request goes to standard error. Stop with Ctrl-C.
)";

} // namespace OrvelDev
