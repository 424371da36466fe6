#pragma once
// The gallery's start-up: the application object, the gallery window on its
// sample database, and the event loop until the window closes. Returns the
// program's exit code, 0.
int RunGallery();
