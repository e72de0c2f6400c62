#pragma once

namespace OrvelTest {

// Whether the tray tests have their own X server and session bus.
extern bool trayEnvironmentReady;

} // namespace OrvelTest
