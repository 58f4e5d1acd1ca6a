#pragma once
// The folder the Open and Save dialogs start in: the one last used, kept in section Form
// of the configuration file under "LastFolder".
#include <string>

#include "app/config_file.h"

namespace theolink {

// The stored folder, or empty when none is stored.
std::string LoadLastFolder(const ConfigFile& config);
// Stores the folder of a chosen file. False when the file could not be written.
bool StoreLastFolderOf(const ConfigFile& config, const std::string& chosenFile);

}  // namespace theolink
