#pragma once
// Worker threads that never touch the program's state themselves: each turn
// of their loop that reads or changes it is handed to the user-interface
// thread, which runs it while the worker waits. A worker is created paused
// and pauses itself when it has nothing to do; ending one never deadlocks,
// whatever either thread is doing at the time.
#include <cstdint>
#include <functional>
#include <memory>

namespace wakumo {

// What a worker's body may do, on the worker's own thread. Every call
// returns false once the worker is told to end (at once, without waiting);
// the body should then return.
class WorkerContext {
 public:
  virtual ~WorkerContext() = default;
  // Waits for Resume. A Resume that came while the worker was not paused is
  // kept, so this returns at once: a wake-up is never lost.
  virtual bool Pause() = 0;
  // Sleeps; ending the worker cuts the sleep short.
  virtual bool Sleep(std::uint32_t ms) = 0;
  // Runs `step` on the user-interface thread, from its message loop, and
  // waits until it has run. A step that has not started when the worker is
  // told to end is dropped.
  virtual bool RunOnUiThread(const std::function<void()>& step) = 0;
};

class Worker {
 public:
  // Tells the worker to end and waits until its body has returned. Safe from
  // inside the worker's own step: the worker then stops waiting for the step,
  // which finishes on the user-interface thread after the worker is gone.
  virtual ~Worker() = default;
  // Called on the user-interface thread.
  virtual void Resume() = 0;
};

class WorkerThreads {
 public:
  virtual ~WorkerThreads() = default;
  // A worker whose body starts at the first Resume. Called on the
  // user-interface thread.
  virtual std::unique_ptr<Worker> CreatePaused(std::function<void(WorkerContext&)> body) = 0;
};

}  // namespace wakumo
