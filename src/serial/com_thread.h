#pragma once
// The port's event thread: sleeps in one wait on the device and a stop signal, and hands
// each batch of events over by the port's SyncMethod.
#include <chrono>
#include <memory>
#include <thread>

#include "serial/com_types.h"

namespace theolink {

class EventWaiter;
class TCustomComPort;
class UiDispatcher;

// Runs the events of one wake-up on the port in their fixed order (error, character
// received, output empty, break, ring, CTS, DSR, event character, RLSD, 80% full);
// stops early once the port is closed.
void DoComEvents(TCustomComPort& port, TComEvents events);

class TComThread {
 public:
  // Takes the waiter (the event selection and stop signal, made before). Without a
  // dispatcher every mode runs the events on the thread itself.
  TComThread(TCustomComPort& port, std::unique_ptr<EventWaiter> waiter, UiDispatcher* dispatcher,
             TSyncMethod method);
  // Stop and WaitFor.
  ~TComThread();
  TComThread(const TComThread&) = delete;
  TComThread& operator=(const TComThread&) = delete;

  // Starts the thread; once only.
  void Start();
  // True when called on this event thread (a handler run there).
  bool IsCurrentThread() const;

  // Sets the stop signal and drops hand-offs not yet run; never blocks.
  void Stop();
  // Waits until the thread has ended. Called on the thread itself (a handler run there
  // closed the port) it lets the thread end on its own instead.
  void WaitFor();
  bool Finished() const;
  // Waits until the thread has ended or limit passed; true when it has ended.
  bool WaitFinished(std::chrono::milliseconds limit) const;
  // Processor time the thread has used so far (its final figure once it has ended);
  // negative when the system cannot tell.
  std::chrono::nanoseconds CpuTime() const;

 private:
  struct Core;
  std::shared_ptr<Core> core_;
  std::thread thread_;
};

}  // namespace theolink
