// theolink-cli: the window's file and transfer operations from the command line.
#include <iostream>
#include <iterator>
#include <string_view>

#include "cli/commands.h"

namespace {

using theolink::cli::Command;

constexpr Command kCommands[] = {
    {"check", "check FILE: parse a keyword-line job or work file and count its records", theolink::cli::RunCheck},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: theolink-cli COMMAND [ARGS...]\n"
         "Moves survey data between a total station and files. Commands:\n";
  for (const Command& c : kCommands) out << "  " << c.Summary << '\n';
  out << "Run 'theolink-cli COMMAND --help' for a command's options.\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (name == c.Name) {
      const theolink::cli::Args args(argv + 2, argv + argc);
      try {
        return c.Run(args, std::cout, std::cerr);
      } catch (const std::exception& e) {
        std::cerr << "theolink-cli " << c.Name << ": " << e.what() << '\n';
        return 1;
      }
    }
  }
  std::cerr << "theolink-cli: unknown command '" << name << "'\n";
  PrintUsage(std::cerr);
  return 2;
}
