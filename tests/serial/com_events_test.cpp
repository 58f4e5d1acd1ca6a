// The event thread on a real pseudo-terminal: character events handed to the owning
// thread, bursts, closing in every awkward moment, a vanishing device, no thread at all.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "serial/com_port.h"
#include "serial/com_thread.h"
#include "support/pty_instrument.h"
#include "support/waits.h"

namespace theolink {
namespace {

using test::PtyInstrument;
using test::PumpFor;
using test::PumpUntil;
using test::Watchdog;
using namespace std::chrono_literals;

struct Fixture {
  PtyInstrument pty;
  QueueDispatcher dispatcher;
  TComPort port;
  std::vector<int> counts;  // Count of each OnRxChar
  std::string received;

  explicit Fixture(TSyncMethod method = smThreadSync) {
    port.SetPort(pty.Path());
    port.SetBaudRate(br115200);
    port.SetSyncMethod(method);
    port.SetDispatcher(&dispatcher);
  }
  // The usual handler: read what the event announced.
  void ReadOnEvent() {
    port.OnRxChar = [this](TCustomComPort& p, int count) {
      counts.push_back(count);
      std::string s;
      p.ReadStr(s, count);
      received += s;
    };
  }
};

TEST(ComEvents, ReceivedBytesReachTheHandlerOnTheOwningThread) {
  Watchdog dog(10s);
  Fixture f;
  std::thread::id handler_thread;
  f.port.OnRxChar = [&](TCustomComPort& p, int count) {
    handler_thread = std::this_thread::get_id();
    f.counts.push_back(count);
    std::string s;
    p.ReadStr(s, count);
    f.received += s;
  };
  f.port.Open();
  f.pty.Send("PT1,100.0\r\n");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return f.received.size() == 11; }));
  EXPECT_EQ(f.received, "PT1,100.0\r\n");
  EXPECT_EQ(handler_thread, std::this_thread::get_id());
  f.port.Close();
}

TEST(ComEvents, BurstsDuringAHandlerComeWithTheNextEventInFull) {
  Watchdog dog(10s);
  Fixture f;
  f.port.OnRxChar = [&](TCustomComPort& p, int count) {
    f.counts.push_back(count);
    std::string s;
    p.ReadStr(s, count);
    f.received += s;
    if (f.counts.size() == 1) {
      // The instrument keeps talking while the handler is busy.
      for (const char* burst : {"burst-2;", "burst-3;", "burst-4;"}) {
        f.pty.Send(burst);
        std::this_thread::sleep_for(30ms);
      }
      test::WaitUntil([&] { return p.InputCount() == 24; });
    }
  };
  f.port.Open();
  f.pty.Send("first;");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return f.received.size() == 30; }));
  ASSERT_EQ(f.counts.size(), 2u);
  EXPECT_EQ(f.counts[0], 6);
  EXPECT_EQ(f.counts[1], 24);
  EXPECT_EQ(f.received, "first;burst-2;burst-3;burst-4;");
}

TEST(ComEvents, EventWhoseBytesWereAlreadyReadCallsNoHandler) {
  Watchdog dog(10s);
  Fixture f;
  f.port.OnRxChar = [&](TCustomComPort& p, int count) {
    f.counts.push_back(count);
    std::string s;
    p.ReadStr(s, count);
    f.received += s;
    // More comes, and this handler takes it too.
    f.pty.Send("more");
    test::WaitUntil([&] { return p.InputCount() == 4; });
    p.ReadStr(s, 4);
    f.received += s;
  };
  f.port.Open();
  f.pty.Send("one");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return f.received == "onemore"; }));
  // Whether the second wake-up is handed over or found empty at once, nobody is called.
  PumpFor(f.dispatcher, 300ms);
  EXPECT_EQ(f.counts, std::vector<int>{3});
}

TEST(ComEvents, UnreadBytesDoNotWakeTheThreadAgainAndAgain) {
  Watchdog dog(10s);
  Fixture f;
  int calls = 0;
  f.port.OnRxChar = [&](TCustomComPort&, int) { ++calls; };  // never reads
  f.port.Open();
  f.pty.Send("ignored");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return calls == 1; }));
  EXPECT_LE(PumpFor(f.dispatcher, 300ms), 1);
  EXPECT_EQ(calls, 1);
  f.pty.Send("+");  // new bytes: a new event, counting everything waiting
  int last = 0;
  f.port.OnRxChar = [&](TCustomComPort&, int count) { last = count; };
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return last != 0; }));
  EXPECT_EQ(last, 8);
}

TEST(ComEvents, CloseWhileTheThreadWaitsEndsItAndDiscardsInput) {
  Watchdog dog(10s);
  Fixture f;
  f.port.Open();
  const TComThread* thread = f.port.EventThread();
  ASSERT_NE(thread, nullptr);
  f.port.Close();
  EXPECT_EQ(f.port.EventThread(), nullptr);

  f.port.Open();
  f.pty.Send("stale");
  ASSERT_TRUE(test::WaitUntil([&] { return f.port.InputCount() == 5; }));
  f.port.Close();  // the hand-off for "stale" is pending and never pumped
  f.port.SetEvents({});
  f.port.Open();
  EXPECT_EQ(f.port.InputCount(), 0);
}

TEST(ComEvents, CloseWhileAHandOffIsPendingDropsIt) {
  Watchdog dog(10s);
  Fixture f;
  f.ReadOnEvent();
  f.port.Open();
  f.pty.Send("late");
  // The event thread now waits for the owning thread, which does not pump.
  ASSERT_TRUE(test::WaitUntil([&] { return f.dispatcher.PendingCount() == 1; }));
  f.port.Close();
  EXPECT_FALSE(f.port.Connected());
  PumpFor(f.dispatcher, 100ms);  // the queued hand-off must not run against the closed port
  EXPECT_TRUE(f.counts.empty());
  EXPECT_TRUE(f.dispatcher.TakeErrors().empty());
}

TEST(ComEvents, PortFreedWhileHandOffsArePendingLeavesNothingToRunAgainstIt) {
  Watchdog dog(20s);
  PtyInstrument pty;
  QueueDispatcher dispatcher;
  int calls = 0;
  for (int round = 0; round < 20; ++round) {
    auto port = std::make_unique<TComPort>();
    port->SetPort(pty.Path());
    port->SetDispatcher(&dispatcher);
    port->OnRxChar = [&](TCustomComPort& p, int count) {
      ++calls;
      std::string s;
      p.ReadStr(s, count);
    };
    port->Open();
    pty.Send("late");
    // Sometimes the thread is still waiting, sometimes its hand-off is already queued.
    std::this_thread::sleep_for(std::chrono::milliseconds(round % 4 * 5));
    port.reset();
    // A queued hand-off may still be in the queue; it must do nothing now.
    dispatcher.ProcessPending();
    char drain[64];
    while (::read(pty.Master(), drain, sizeof drain) > 0) {
    }
  }
  PumpFor(dispatcher, 50ms);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(dispatcher.TakeErrors().empty());
}

TEST(ComEvents, HandlerMayCloseThePort) {
  Watchdog dog(10s);
  for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
    Fixture f(method);
    std::atomic<int> calls{0};
    std::atomic<bool> returned{false};
    f.port.OnRxChar = [&](TCustomComPort& p, int) {
      ++calls;
      p.Close();
      returned = true;
    };
    f.port.Open();
    f.pty.Send("x");
    ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return returned.load(); })) << method;
    EXPECT_FALSE(f.port.Connected()) << method;
    f.pty.Send("y");
    PumpFor(f.dispatcher, 100ms);
    EXPECT_EQ(calls, 1) << method;
  }
}

TEST(ComEvents, HandOffModesRunHandlersWhereTheySay) {
  Watchdog dog(10s);
  for (TSyncMethod method : {smWindowSync, smNone}) {
    Fixture f(method);
    std::atomic<bool> on_owner{false};
    std::atomic<int> total{0};
    f.port.OnRxChar = [&](TCustomComPort& p, int count) {
      on_owner = f.dispatcher.IsOwningThread();
      std::string s;
      p.ReadStr(s, count);
      total += static_cast<int>(s.size());
    };
    f.port.Open();
    f.pty.Send("12345");
    ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return total == 5; })) << method;
    EXPECT_EQ(on_owner, method == smWindowSync);
    f.port.Close();
  }
}

TEST(ComEvents, HandlerErrorEndsEventReportingUntilReopened) {
  Watchdog dog(10s);
  Fixture f;
  int calls = 0;
  f.port.OnRxChar = [&](TCustomComPort& p, int count) {
    ++calls;
    std::string s;
    p.ReadStr(s, count);
    throw std::runtime_error("handler failed");
  };
  std::vector<std::string> reported;  // on the owning thread, as the handler ran there
  f.port.OnException = [&](TCustomComPort&, std::exception_ptr error) {
    EXPECT_TRUE(f.dispatcher.IsOwningThread());
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      reported.push_back(e.what());
    }
  };
  f.port.Open();
  f.pty.Send("a");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return calls == 1; }));
  EXPECT_EQ(reported, std::vector<std::string>{"handler failed"});
  ASSERT_TRUE(f.port.EventThread()->WaitFinished(3s));
  f.pty.Send("b");
  PumpFor(f.dispatcher, 200ms);
  EXPECT_EQ(calls, 1);
  f.port.Close();
  f.port.Open();
  f.pty.Send("c");
  EXPECT_TRUE(PumpUntil(f.dispatcher, [&] { return calls == 2; }));
}

TEST(ComEvents, NoEventsMeansNoThreadAndNoHandler) {
  Watchdog dog(10s);
  Fixture f;
  f.port.SetEvents({});
  int calls = 0;
  f.port.OnRxChar = [&](TCustomComPort&, int) { ++calls; };
  f.port.Open();
  EXPECT_EQ(f.port.EventThread(), nullptr);
  f.pty.Send("data");
  EXPECT_EQ(PumpFor(f.dispatcher, 200ms), 0);
  EXPECT_EQ(calls, 0);
  std::string s;
  EXPECT_EQ(f.port.ReadStr(s, 10), 4);
}

TEST(ComEvents, WithoutTriggersTheBytesGoToOnRxBuf) {
  Watchdog dog(10s);
  Fixture f;
  f.port.SetTriggersOnRxChar(false);
  std::string buffered;
  int rx_char_calls = 0;
  f.port.OnRxBuf = [&](TCustomComPort&, const char* data, int count) { buffered.append(data, count); };
  f.port.OnRxChar = [&](TCustomComPort&, int) { ++rx_char_calls; };
  f.port.Open();
  f.pty.Send("xyz");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return buffered == "xyz"; }));
  EXPECT_EQ(rx_char_calls, 0);
}

TEST(ComEvents, VanishedDeviceIsReportedOnceWithoutSpinningOrHanging) {
  Watchdog dog(20s);
  Fixture f;
  f.ReadOnEvent();
  std::vector<TComErrors> errors;
  f.port.OnError = [&](TCustomComPort&, TComErrors e) { errors.push_back(e); };
  f.port.Open();
  f.pty.Send("last words");
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return f.received == "last words"; }));
  f.pty.CloseMaster();

  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return !errors.empty(); }));
  EXPECT_TRUE(errors[0].Contains(ceIO));
  ASSERT_TRUE(test::WaitUntil([&] { return f.port.EventThread()->Finished(); }));

  const auto cpu_before = test::ProcessCpuTime();
  PumpFor(f.dispatcher, 1s);
  EXPECT_LT(test::ProcessCpuTime() - cpu_before, 500ms);
  EXPECT_EQ(errors.size(), 1u);

  std::string s;
  try {
    f.port.ReadStr(s, 5);
    ADD_FAILURE() << "read on a vanished device succeeded";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.ErrorCode(), CE_ReadFailed);
    EXPECT_GT(e.OsErrorCode(), 0);
  }
  try {
    f.port.WriteStr("hello?");
    ADD_FAILURE() << "write on a vanished device succeeded";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.ErrorCode(), CE_WriteFailed);
  }
  f.port.Close();
  EXPECT_FALSE(f.port.Connected());
}

TEST(ComEvents, HangUpIsNoticedWhenOnlyErrorsAreWatched) {
  Watchdog dog(10s);
  Fixture f;
  f.port.SetEvents({evError});
  int rx_calls = 0;
  std::vector<TComErrors> errors;
  f.port.OnRxChar = [&](TCustomComPort&, int) { ++rx_calls; };
  f.port.OnError = [&](TCustomComPort&, TComErrors e) { errors.push_back(e); };
  f.port.Open();
  f.pty.Send("unwatched");
  PumpFor(f.dispatcher, 100ms);
  EXPECT_EQ(rx_calls, 0);
  f.pty.CloseMaster();
  ASSERT_TRUE(PumpUntil(f.dispatcher, [&] { return !errors.empty(); }));
  EXPECT_TRUE(errors[0].Contains(ceIO));
  EXPECT_EQ(rx_calls, 0);
  EXPECT_TRUE(test::WaitUntil([&] { return f.port.EventThread()->Finished(); }));
}

TEST(ComEvents, IdleThreadUsesNoProcessorTime) {
  Watchdog dog(10s);
  Fixture f;
  f.port.Open();
  PumpFor(f.dispatcher, 100ms);
  const auto before = f.port.EventThread()->CpuTime();
  std::this_thread::sleep_for(500ms);
  EXPECT_LT(f.port.EventThread()->CpuTime() - before, 100ms);
}

}  // namespace
}  // namespace theolink
