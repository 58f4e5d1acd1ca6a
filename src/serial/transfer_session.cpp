#include "serial/transfer_session.h"

#include <utility>

#include "records/value_forms.h"

namespace theolink {

namespace {

// The value of --name: the next argument, or the text after "=". Removes what it used.
bool TakeValue(std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
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

}  // namespace

bool TakePortOptions(std::vector<std::string>& args, TransferPortOptions& options, std::string& error) {
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
        error = "--baud needs a positive whole number of bits per second, not '" + value + "'";
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

ConsoleTransferSession::ConsoleTransferSession(const TransferPortOptions& options, WorkingData& data,
                                               std::ostream& out, ConsoleTransferDisplay::TextOf textOf, bool live)
    : display_(out, std::move(textOf), live),
      host_(port_, dispatcher_, display_),
      controller_(host_, data),
      stopper_(host_) {
  SetUpTransferPort(port_, options.Port, BaudRateFor(options.Baud), options.Baud, dispatcher_);
  host_.Bind(controller_);
}

PortTransferHost::RunEnd ConsoleTransferSession::Run() {
  const PortTransferHost::RunEnd end = host_.RunUntilFinished();
  display_.Finish();
  return end;
}

}  // namespace theolink
