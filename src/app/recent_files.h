#pragma once
// The files last opened or saved, newest first, kept in section Recent of the configuration
// file under File1 to File10.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_file.h"
#include "app/ini_file.h"

namespace theolink {

inline constexpr std::string_view kRecentSection = "Recent";
inline constexpr std::size_t kRecentFileLimit = 10;

// files with path in front (made absolute), its older place dropped, cut to the limit.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);
// files without path (compared as WithRecentFile stores it).
std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& path);

// File1 to File10 in order; empty values and repeats are skipped.
std::vector<std::string> ReadRecentFiles(const IniFile& ini);
// Writes files as File1 on; the keys past them are emptied.
void WriteRecentFiles(IniFile& ini, const std::vector<std::string>& files);

std::vector<std::string> LoadRecentFiles(const ConfigFile& config);
// Puts path in front of the stored list. False when the file could not be written.
bool AddRecentFile(const ConfigFile& config, const std::string& path);
// Takes path off the stored list. False when the file could not be written.
bool RemoveRecentFile(const ConfigFile& config, const std::string& path);

}  // namespace theolink
