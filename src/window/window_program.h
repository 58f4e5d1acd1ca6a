#pragma once
// What main() gives the window: the surroundings of the running program. Tests that mean
// to prove the shipped program build their window through this too.
#include <string>

#include "window/window_context.h"

namespace theolink {

// The running executable's path, the process's environment and locale, the system's port
// list and the user's raw-copy folder, with dialogs as given.
WindowContext ShippedWindowContext(Dialogs* dialogs);

// Where the picture of a window started without a display goes: the user's runtime
// folder ($XDG_RUNTIME_DIR), else the user's cache folder; never a shared folder.
std::string NoDisplayPicturePath();

}  // namespace theolink
