#pragma once
// --port DEV and --baud RATE of receive and send ("--name value" or "--name=value").
#include <cstdint>
#include <string>
#include <vector>

#include "records/value_forms.h"

namespace theolink::cli {

struct TransferPortOptions {
  std::string Port;
  std::int32_t Baud = 115200;
};

namespace port_options_detail {

// The value of --name: the next argument, or the text after "=". Removes what it used.
inline bool TakeValue(std::vector<std::string>& args, std::size_t i, const std::string& name, std::string& value,
                      bool& found, std::string& error) {
  const std::string& arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return false;
    }
    value = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    found = true;
  } else if (arg.rfind(name + "=", 0) == 0) {
    value = arg.substr(name.size() + 1);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    found = true;
  }
  return true;
}

}  // namespace port_options_detail

// Takes --port and --baud out of args. False, with the reason in error, for a missing port
// or value, or a rate that is not a positive whole number.
inline bool TakePortOptions(std::vector<std::string>& args, TransferPortOptions& options, std::string& error) {
  using port_options_detail::TakeValue;
  bool havePort = false;
  for (std::size_t i = 0; i < args.size();) {
    bool found = false;
    std::string value;
    if (!TakeValue(args, i, "--port", value, found, error)) return false;
    if (found) {
      if (value.empty()) {
        error = "--port needs a device";
        return false;
      }
      options.Port = value;
      havePort = true;
      continue;
    }
    if (!TakeValue(args, i, "--baud", value, found, error)) return false;
    if (found) {
      double rate = 0;
      if (!TryParseNumber(value, rate) || rate < 1 || rate > 4000000 ||
          static_cast<double>(static_cast<std::int32_t>(rate)) != rate) {
        error = "--baud needs a whole number of bits per second from 1 to 4000000, not '" + value + "'";
        return false;
      }
      options.Baud = static_cast<std::int32_t>(rate);
      continue;
    }
    if (args[i] == "--") break;
    ++i;
  }
  if (!havePort) {
    error = "--port DEV is required";
    return false;
  }
  return true;
}

}  // namespace theolink::cli
