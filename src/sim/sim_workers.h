#pragma once
// Worker threads for tests that stay deterministic: each worker is a real
// thread, but it runs only while the test's thread (the user-interface
// thread) waits for it, from one wait of its body to the next; exactly one
// of the two runs at any time. A worker's sleep is a timer of the simulated
// clock: Advance wakes it. A step it hands to the user-interface thread runs
// inside that Advance, as an idle message loop would run it, or waits for
// RunHandOffs when a test says the loop is busy; a step handed over right
// after a Resume always waits for RunHandOffs (the caller of Resume is busy).
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "platform/platform.h"
#include "platform/worker_threads.h"

namespace wakumo {

class SimWorker;

class SimWorkers : public WorkerThreads {
 public:
  explicit SimWorkers(TimerService& timers) : timers_(timers) {}
  // Every worker must be gone by then.
  ~SimWorkers() override = default;
  SimWorkers(const SimWorkers&) = delete;
  SimWorkers& operator=(const SimWorkers&) = delete;

  std::unique_ptr<Worker> CreatePaused(std::function<void(WorkerContext&)> body) override;

  // ---- Test side ----
  void SetRunHandOffsAtOnce(bool on) { at_once_ = on; }
  // Runs the steps waiting now, oldest first, each letting its worker go on
  // to its next wait. Returns how many ran.
  int RunHandOffs();
  std::size_t PendingHandOffs() const { return handoffs_.size(); }
  std::size_t LiveCount() const { return live_.size(); }
  std::size_t PausedCount() const;
  std::size_t SleepingCount() const;
  int CreatedCount() const { return created_; }
  int StepsRun() const { return steps_run_; }

 private:
  friend class SimWorker;
  // After a turn of the worker: a step it hands over runs now or queues.
  void AfterTurn(int id, bool at_once);
  bool IsLive(int id) const { return live_.count(id) != 0; }
  void Forget(int id);

  TimerService& timers_;
  std::map<int, SimWorker*> live_;
  std::deque<int> handoffs_;
  int next_id_ = 1;
  int created_ = 0;
  int steps_run_ = 0;
  bool at_once_ = true;
};

}  // namespace wakumo
