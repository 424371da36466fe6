#pragma once
// The start-up sequence after the runtime is up: the application object, its
// title, the main window, and the event loop until the main window closes.
// An error escaping any of these steps is shown by the default error display.
// Returns the program's exit code, 0.
int RunAstrevo();
