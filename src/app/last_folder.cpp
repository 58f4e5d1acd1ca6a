#include "app/last_folder.h"

#include "app/settings_store.h"
#include "files/file_io.h"

namespace theolink {

namespace {
constexpr std::string_view kLastFolderKey = "LastFolder";
}

std::string LoadLastFolder(const ConfigFile& config) {
  return config.Read().ReadString(kFormSection, kLastFolderKey).value_or(std::string());
}

bool StoreLastFolderOf(const ConfigFile& config, const std::string& chosenFile) {
  IniFile ini = config.Read();
  ini.WriteString(kFormSection, kLastFolderKey, FolderOfPath(chosenFile));
  return config.Write(ini);
}

}  // namespace theolink
