#pragma once
// The main window as both window benchmarks start it: a private folder beside a pretend
// program, the given dialogs, and one port so no real device is probed.
#include <filesystem>
#include <string>
#include <vector>

#include "window/dialogs.h"
#include "window/window_context.h"

namespace bench {

inline theolink::WindowContext BenchWindowContext(const std::filesystem::path& dir, theolink::Dialogs& dialogs) {
  theolink::WindowContext context;
  context.executablePath = (dir / "theolink").string();
  context.dialogs = &dialogs;
  context.portLister = [](std::vector<std::string>& list) { list = {"/dev/null"}; };
  return context;
}

}  // namespace bench
