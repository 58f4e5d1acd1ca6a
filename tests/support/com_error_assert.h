#pragma once
// One way to check the serial component's errors.
#include <gtest/gtest.h>

#include <functional>

#include "serial/com_error.h"

namespace theolink::test {

// The EComPort that f raises; records a failure (and gives code 0) when it raises none.
inline EComPort CaughtComError(const std::function<void()>& f) {
  try {
    f();
  } catch (const EComPort& e) {
    return e;
  }
  ADD_FAILURE() << "no EComPort raised";
  return EComPort(0);
}

}  // namespace theolink::test

// Expects statement to raise EComPort with the given code.
#define EXPECT_COM_ERROR(statement, code) \
  EXPECT_EQ(::theolink::test::CaughtComError([&] { statement; }).ErrorCode(), code)
