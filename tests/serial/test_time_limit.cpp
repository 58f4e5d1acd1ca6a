// Every test of this program runs under a time limit, so a deadlock between the port's
// threads shows up as a named failure even when the program is run without ctest.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/waits.h"

namespace theolink::test {
namespace {

class TimeLimit final : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo& info) override {
    name_ = std::string(info.test_suite_name()) + "." + info.name();
    dog_ = std::make_unique<Watchdog>(std::chrono::seconds(60), name_.c_str());
  }
  void OnTestEnd(const ::testing::TestInfo&) override { dog_.reset(); }

 private:
  std::string name_;
  std::unique_ptr<Watchdog> dog_;
};

const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TimeLimit);
  return true;
}();

}  // namespace
}  // namespace theolink::test
