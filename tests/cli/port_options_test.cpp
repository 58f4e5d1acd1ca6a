// --port and --baud of receive and send.
#include <gtest/gtest.h>

#include "cli/port_options.h"

namespace theolink::cli {
namespace {

TEST(TransferPortOptions, TakesPortAndBaudAndLeavesTheRest) {
  std::vector<std::string> args{"--to", "cass", "--port", "/dev/pts/3", "out.dat", "--baud=9600"};
  TransferPortOptions options;
  std::string error;
  ASSERT_TRUE(TakePortOptions(args, options, error)) << error;
  EXPECT_EQ(options.Port, "/dev/pts/3");
  EXPECT_EQ(options.Baud, 9600);
  EXPECT_EQ(args, (std::vector<std::string>{"--to", "cass", "out.dat"}));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"out.txt"}, {"--port"}, {"--port", "/dev/x", "--baud", "fast"}, {"--port=/dev/x", "--baud", "-5"},
           {"--port", "/dev/x", "--baud", "9600.5"}, {"--port="}}) {
    std::vector<std::string> a = bad;
    TransferPortOptions o;
    EXPECT_FALSE(TakePortOptions(a, o, error)) << ::testing::PrintToString(bad);
    EXPECT_FALSE(error.empty());
  }
  std::vector<std::string> tooFast{"--port", "/dev/x", "--baud", "5000000"};
  TransferPortOptions o;
  EXPECT_FALSE(TakePortOptions(tooFast, o, error));
  EXPECT_EQ(error, "--baud needs a whole number of bits per second from 1 to 4000000, not '5000000'");
}

}  // namespace
}  // namespace theolink::cli
