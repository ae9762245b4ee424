#pragma once
// Worker threads whose steps run on the user-interface thread: a worker
// queues its step and posts a wake-up to a hidden window of that thread,
// then waits for the step to be done or for its own end. Posting rather
// than sending keeps the worker free to hear that it must end while the
// user-interface thread is busy (or is inside that very step, ending it).
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/worker_threads.h"
#include "win32/win32_hidden_window.h"

namespace wakumo {

class Win32WorkerThreads : public WorkerThreads {
 public:
  // Made on the user-interface thread, whose message loop runs the steps.
  Win32WorkerThreads();
  // Every worker must be gone by then.
  ~Win32WorkerThreads() override = default;
  Win32WorkerThreads(const Win32WorkerThreads&) = delete;
  Win32WorkerThreads& operator=(const Win32WorkerThreads&) = delete;

  std::unique_ptr<Worker> CreatePaused(std::function<void(WorkerContext&)> body) override;

  // What a worker and its queued steps share; kept alive by either.
  struct WorkerState {
    std::mutex m;
    std::condition_variable cv;
    bool permit = false;
    bool ending = false;
  };
  struct Job {
    std::function<void()> step;
    std::shared_ptr<WorkerState> worker;
    bool done = false;
  };
  // From a worker thread. False when the wake-up could not be posted.
  bool Queue(std::shared_ptr<Job> job);

 private:
  static bool Handle(void* self, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void RunQueuedSteps();

  HiddenMessageWindow window_;
  std::mutex queue_m_;
  std::deque<std::shared_ptr<Job>> queue_;
};

}  // namespace wakumo
