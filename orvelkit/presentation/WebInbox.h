#pragma once

// Links into the service's web app.

#include <optional>
#include <string>
#include <string_view>

namespace OrvelKit::WebInbox {

// The web app opened at its pairing step with `code`: the web app's address
// with the fragment "pair=" and the code, percent-encoded where a fragment
// needs it. Absent for an empty code or one that is not valid UTF-8.
std::optional<std::string> pairingURL(std::string_view code);
// The same for the web app of the service at `serverURL` (its "/app").
std::optional<std::string> pairingURL(std::string_view code, std::string_view serverURL);

} // namespace OrvelKit::WebInbox
