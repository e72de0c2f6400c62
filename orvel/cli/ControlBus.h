#pragma once

// Where the holder of a data directory takes orvelctl's changes on the
// session bus: its unique bus name (recorded in the lock file, see
// DataDirectoryLock.h), this object and this interface. Every method but
// ShowPanel answers (exit status, standard output, standard error) exactly
// as orvelctl would have printed them itself.
//
//   Status(b json, b color)                       -> (i, s, s)
//   Sync(b json, b color)                         -> (i, s, s)
//   Dismiss(s id, b color)                        -> (i, s, s)
//   ReadAll(b color)                              -> (i, s, s)
//   CreateChannel(b json, b color)                -> (i, s, s)
//   RenameChannel(s channel, s name, b color)     -> (i, s, s)
//   RotateChannelKey(s channel, y grace, b json, b color) -> (i, s, s)
//   RetireChannel(s channel, b color)             -> (i, s, s)
//   Pair(b json, b color)                         -> (i, s, s)
//   ShowPanel()                                   -> ()

namespace Orvel::ControlBus {

inline constexpr const char* objectPath = "/org/orvel/Orvel";
inline constexpr const char* interfaceName = "org.orvel.Orvel.Control";
// How long a caller waits: the longest command awaits a service call and a
// refresh, each with the transport's time-out.
inline constexpr int callTimeoutSeconds = 150;

} // namespace Orvel::ControlBus
