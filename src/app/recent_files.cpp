#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace theolink {
namespace {

// One spelling per file, so the same file opened by another road is no second entry.
std::string StoredForm(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
  if (ec) absolute = std::filesystem::path(path);
  return absolute.lexically_normal().string();
}

std::string KeyOf(std::size_t n) { return "File" + std::to_string(n); }

}  // namespace

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
  if (path.empty()) return files;
  std::string stored = StoredForm(path);
  files = WithoutRecentFile(std::move(files), stored);
  files.insert(files.begin(), std::move(stored));
  if (files.size() > kRecentFileLimit) files.resize(kRecentFileLimit);
  return files;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& path) {
  const std::string stored = StoredForm(path);
  files.erase(std::remove_if(files.begin(), files.end(),
                             [&](const std::string& f) { return f == path || StoredForm(f) == stored; }),
              files.end());
  return files;
}

std::vector<std::string> ReadRecentFiles(const IniFile& ini) {
  std::vector<std::string> files;
  for (std::size_t n = 1; n <= kRecentFileLimit; ++n) {
    const auto value = ini.ReadString(kRecentSection, KeyOf(n));
    if (!value || value->empty() || std::find(files.begin(), files.end(), *value) != files.end()) continue;
    files.push_back(*value);
  }
  return files;
}

void WriteRecentFiles(IniFile& ini, const std::vector<std::string>& files) {
  for (std::size_t n = 1; n <= kRecentFileLimit; ++n)
    ini.WriteString(kRecentSection, KeyOf(n), n <= files.size() ? std::string_view(files[n - 1]) : std::string_view());
}

std::vector<std::string> LoadRecentFiles(const ConfigFile& config) { return ReadRecentFiles(config.Read()); }

bool AddRecentFile(const ConfigFile& config, const std::string& path) {
  IniFile ini = config.Read();
  WriteRecentFiles(ini, WithRecentFile(ReadRecentFiles(ini), path));
  return config.Write(ini);
}

bool RemoveRecentFile(const ConfigFile& config, const std::string& path) {
  IniFile ini = config.Read();
  WriteRecentFiles(ini, WithoutRecentFile(ReadRecentFiles(ini), path));
  return config.Write(ini);
}

}  // namespace theolink
