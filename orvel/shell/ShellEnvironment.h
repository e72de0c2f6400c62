#pragma once

// What the shell asks the desktop about its user's settings.

namespace Orvel::ShellEnvironment {

// Makes a process without a display usable: the offscreen platform and the
// software scene graph when no display is set, and a private runtime
// directory when there is none. Call before the application object exists.
void prepareHeadless();

} // namespace Orvel::ShellEnvironment
