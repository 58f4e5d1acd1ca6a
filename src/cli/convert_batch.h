#pragma once
// convert --output-dir: many inputs into one folder, one output each, named after its input.
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace theolink::cli {

// Converts one input to one output and says why not on err; returns its exit status.
using ConvertFile = std::function<int(const std::string& input, const std::string& output)>;

// The output of input in folder: its name without its last extension, with the format's.
std::string BatchOutputPath(const std::string& input, const std::string& folder, std::string_view format);

// Every input in order; one that fails (or would write the output of an earlier one) is named
// on err and the rest go on. Prints "INPUT -> OUTPUT" for each converted file. Returns 0 when
// all were converted, 1 when some were not, 2 when the folder or the format will not do.
int ConvertBatch(const std::vector<std::string>& inputs, const std::string& folder, std::string_view format,
                 const ConvertFile& convert, std::ostream& out, std::ostream& err);

}  // namespace theolink::cli
