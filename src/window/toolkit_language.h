#pragma once
// Qt's own texts (the OK and Cancel of every box, the file dialog) in the program's language.

namespace theolink {

// Installs Qt's Chinese translations for language 0 and removes them for any other; the
// texts stay Qt's English ones where the translations are not installed on the system.
void UseToolkitLanguage(int language);

}  // namespace theolink
