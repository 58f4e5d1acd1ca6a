#include "app/language.h"

#include <atomic>

namespace theolink {
namespace {

// The port event thread may format status texts, so the flag is atomic even though it is
// written once at start.
std::atomic<int>& LanguageFlag() {
  static std::atomic<int> flag{kLanguageChinese};
  return flag;
}

}  // namespace

int CurrentLanguage() { return LanguageFlag().load(std::memory_order_relaxed); }

void SetLanguage(int language) {
  LanguageFlag().store(language == kLanguageChinese ? kLanguageChinese : kLanguageEnglish,
                       std::memory_order_relaxed);
}

}  // namespace theolink
