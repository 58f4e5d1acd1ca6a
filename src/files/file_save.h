#pragma once
// Saving the working data as the Save button does, after the dialog and the replace
// question: the writer the filter chooses, into the file module's atomic writer.
#include <cstddef>
#include <string>

#include "files/file_io.h"
#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

enum class SaveCode {
  Saved,
  Gts7NameNotGt7,   // the GTS-7 formats need a name ending in ".gt7"
  MilNotSupported,  // the GTS-7 formats refuse the mil angle unit
  Refused,          // nothing to write, or no coordinate system: SaveResult::Refusal says why
  FileFailed,       // the file could not be written; SaveResult::File says why
};

struct SaveResult {
  SaveCode Code = SaveCode::Saved;
  FileStatus File;  // for SaveCode::FileFailed; when saved, InPlace says the write was not atomic
  ExportRefusal Refusal{TextId::NoDataToSave};  // for every refusal: the message and its %1
  std::size_t Written = 0;  // when saved: the points, records or codes written (ExportData)

  bool Ok() const { return Code == SaveCode::Saved; }
};

// Writes the data in the format (a row of SaveFormats() for the data's kind) to path, whole
// or not at all: on any failure the file that was there stays as it was. The data is not
// changed.
// The writer reports to progress; a cancel there (TaskCancelled) leaves the old file and no
// temporary file.
SaveResult SaveDataFile(const WorkingData& data, const SaveFormat& format, const std::string& path,
                        const Settings& settings, TaskProgress* progress = nullptr);
// The same lines into a sink (standard output); fileName is the name the GTS-7 rule checks.
SaveResult SaveDataTo(const WorkingData& data, const SaveFormat& format, LineSink& sink,
                      const std::string& fileName, const Settings& settings);


}  // namespace theolink
