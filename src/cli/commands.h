#pragma once
// The subcommands of theolink-cli. Each takes its own arguments (without the command
// name), writes results to out and messages to err, and returns the exit status.
#include <ostream>
#include <string>
#include <vector>

namespace theolink::cli {

using Args = std::vector<std::string>;

struct Command {
  const char* Name;
  const char* Summary;
  int (*Run)(const Args& args, std::ostream& out, std::ostream& err);
};

// One declaration per command file.
int RunCheck(const Args& args, std::ostream& out, std::ostream& err);
int RunDump(const Args& args, std::ostream& out, std::ostream& err);
int RunConvert(const Args& args, std::ostream& out, std::ostream& err);
int RunShow(const Args& args, std::ostream& out, std::ostream& err);
int RunReceive(const Args& args, std::ostream& out, std::ostream& err);
int RunSend(const Args& args, std::ostream& out, std::ostream& err);
int RunPorts(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace theolink::cli
