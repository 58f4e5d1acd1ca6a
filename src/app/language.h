#pragma once
// The one program-wide language flag: 0 Chinese, 1 English. It is 0 until the main window's
// creation stores the value read from the configuration file, and is not changed afterwards.

namespace theolink {

inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 1;

// The flag as last stored (0 before any store). Safe to call from any thread.
int CurrentLanguage();
// Stores the flag; any value other than 0 and 1 is stored as 1.
void SetLanguage(int language);

}  // namespace theolink
