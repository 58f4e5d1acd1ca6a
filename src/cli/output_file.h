#pragma once
// OUTPUT of convert and receive: checked before any work, written whole or not at all.
#include <optional>
#include <ostream>
#include <string>

#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"

namespace theolink::cli {

// Lines written to a stream as they are made, each followed by ending: memory stays flat
// whatever the size.
class StreamLines final : public LineSink {
 public:
  StreamLines(std::ostream& out, std::string_view ending) : out_(out), ending_(ending) {}
  void Add(std::string_view line) override { out_ << line << ending_; }

 private:
  std::ostream& out_;
  std::string_view ending_;
};

// "-" writes to standard output.
bool IsStandardOutput(const std::string& output);

// Why OUTPUT cannot be written, or empty when it can: its folder must take a new file, it
// must not be a folder, device, FIFO or socket, not the input file (input may be empty), and
// must not exist unless overwrite.
std::string OutputProblem(const std::string& output, const std::string& input, bool overwrite);

// receive's check before the port opens: OutputProblem, and with a format the name the
// GTS-7 formats need and the coordinate system GeoJSON and KML need. Writes the message and
// returns false when OUTPUT will not do.
bool CheckReceiveOutput(const std::string& output, const std::string& format, bool overwrite,
                        const Settings& settings, std::ostream& err);

// Saves the data in the save filter's format to OUTPUT (or standard output for "-"). A
// SIGINT, SIGTERM or SIGHUP during the write removes the temporary file before the process
// ends, so the old OUTPUT stays as it was. Messages go to err; returns the exit status.
int WriteOutput(const WorkingData& data, const SaveFormat& format, const std::string& output, const Settings& settings,
                std::ostream& out, std::ostream& err);

// convert of a job file in one pass (SaveJobFileAs), with WriteOutput's guard and messages
// after the cuts the load made. Nothing, and nothing written, when the format is no job
// format, OUTPUT is standard output or will not do, or the file is to be opened and saved
// the ordinary way.
std::optional<int> WriteJobFileOutput(const std::string& input, const std::string& format, const std::string& output,
                                      bool overwrite, const Settings& settings, std::ostream& err);

// receive without --to: the lines as they came, each followed by CR LF, written as above.
int WriteReceivedLines(const LineList& lines, const std::string& output, std::ostream& out, std::ostream& err);

}  // namespace theolink::cli
