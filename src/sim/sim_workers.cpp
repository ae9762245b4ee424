#include "sim/sim_workers.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace wakumo {

// The turn passes between the two threads under one mutex: the worker runs
// only between Go() and its next wait, so everything it touches (the clock's
// timers, the feature's state) is handed over with the mutex.
class SimWorker final : public Worker, private WorkerContext {
 public:
  enum class Where { kRunning, kPaused, kSleeping, kHandingOff, kEnded };

  SimWorker(SimWorkers& owner, int id, std::function<void(WorkerContext&)> body);
  ~SimWorker() override;
  void Resume() override;

  Where Now() {
    std::lock_guard<std::mutex> lock(m_);
    return where_;
  }
  // User-interface side: lets the worker run to its next wait.
  void Go();
  std::shared_ptr<std::function<void()>> Step() {
    std::lock_guard<std::mutex> lock(m_);
    return step_;
  }

 private:
  bool Pause() override;
  bool Sleep(std::uint32_t ms) override;
  bool RunOnUiThread(const std::function<void()>& step) override;
  void Block(std::unique_lock<std::mutex>& lock, Where where);
  void Wake();

  SimWorkers& owner_;
  const int id_;
  std::mutex m_;
  std::condition_variable cv_;
  bool worker_turn_ = true;
  bool permit_ = false;
  bool ending_ = false;
  Where where_ = Where::kRunning;
  std::shared_ptr<std::function<void()>> step_;
  TimerId sleep_timer_ = 0;
  std::thread thread_;
};

SimWorker::SimWorker(SimWorkers& owner, int id, std::function<void(WorkerContext&)> body) : owner_(owner), id_(id) {
  thread_ = std::thread([this, body = std::move(body)] {
    if (Pause()) body(*this);
    std::lock_guard<std::mutex> lock(m_);
    where_ = Where::kEnded;
    worker_turn_ = false;
    cv_.notify_all();
  });
  std::unique_lock<std::mutex> lock(m_);
  cv_.wait(lock, [this] { return !worker_turn_; });
}

SimWorker::~SimWorker() {
  {
    std::unique_lock<std::mutex> lock(m_);
    ending_ = true;
    if (sleep_timer_) owner_.timers_.StopTimer(sleep_timer_);
    sleep_timer_ = 0;
    // Whatever it waits in returns false now, and the body returns.
    worker_turn_ = true;
    cv_.notify_all();
    cv_.wait(lock, [this] { return where_ == Where::kEnded; });
  }
  thread_.join();
  owner_.Forget(id_);
}

void SimWorker::Block(std::unique_lock<std::mutex>& lock, Where where) {
  where_ = where;
  worker_turn_ = false;
  cv_.notify_all();
  cv_.wait(lock, [this] { return worker_turn_; });
  where_ = Where::kRunning;
}

void SimWorker::Go() {
  std::unique_lock<std::mutex> lock(m_);
  worker_turn_ = true;
  cv_.notify_all();
  cv_.wait(lock, [this] { return !worker_turn_; });
}

bool SimWorker::Pause() {
  std::unique_lock<std::mutex> lock(m_);
  while (!ending_ && !permit_) Block(lock, Where::kPaused);
  if (ending_) return false;
  permit_ = false;
  return true;
}

bool SimWorker::Sleep(std::uint32_t ms) {
  std::unique_lock<std::mutex> lock(m_);
  if (ending_) return false;
  if (ms == 0) return true;
  // The user-interface thread waits for this turn: the clock is ours now.
  sleep_timer_ = owner_.timers_.StartTimer(static_cast<std::int32_t>(std::min<std::uint32_t>(ms, 0x7FFFFFFF)),
                                           [this] { Wake(); });
  Block(lock, Where::kSleeping);
  return !ending_;
}

bool SimWorker::RunOnUiThread(const std::function<void()>& step) {
  std::unique_lock<std::mutex> lock(m_);
  if (ending_) return false;
  // Shared, so that a step which ends this worker can still finish.
  step_ = std::make_shared<std::function<void()>>(step);
  Block(lock, Where::kHandingOff);
  step_.reset();
  return !ending_;
}

void SimWorker::Resume() {
  {
    std::lock_guard<std::mutex> lock(m_);
    permit_ = true;
    if (where_ != Where::kPaused) return;
  }
  Go();
  owner_.AfterTurn(id_, false);
}

void SimWorker::Wake() {
  {
    std::lock_guard<std::mutex> lock(m_);
    owner_.timers_.StopTimer(sleep_timer_);
    sleep_timer_ = 0;
  }
  Go();
  owner_.AfterTurn(id_, owner_.at_once_);
}

std::unique_ptr<Worker> SimWorkers::CreatePaused(std::function<void(WorkerContext&)> body) {
  const int id = next_id_++;
  auto worker = std::make_unique<SimWorker>(*this, id, std::move(body));
  live_[id] = worker.get();
  ++created_;
  return worker;
}

void SimWorkers::AfterTurn(int id, bool at_once) {
  while (IsLive(id) && live_[id]->Now() == SimWorker::Where::kHandingOff) {
    if (!at_once) {
      handoffs_.push_back(id);
      return;
    }
    SimWorker* worker = live_[id];
    const auto step = worker->Step();
    ++steps_run_;
    (*step)();
    // The step may have ended the worker.
    if (!IsLive(id)) return;
    worker->Go();
  }
}

int SimWorkers::RunHandOffs() {
  std::deque<int> now;
  now.swap(handoffs_);
  int ran = 0;
  for (int id : now) {
    if (!IsLive(id) || live_[id]->Now() != SimWorker::Where::kHandingOff) continue;
    SimWorker* worker = live_[id];
    const auto step = worker->Step();
    ++steps_run_;
    ++ran;
    (*step)();
    if (!IsLive(id)) continue;
    worker->Go();
    // A step handed over straight after this one waits for the next call.
    AfterTurn(id, false);
  }
  return ran;
}

void SimWorkers::Forget(int id) {
  live_.erase(id);
  std::erase(handoffs_, id);
}

std::size_t SimWorkers::PausedCount() const {
  std::size_t n = 0;
  for (const auto& [id, w] : live_) n += w->Now() == SimWorker::Where::kPaused ? 1 : 0;
  return n;
}

std::size_t SimWorkers::SleepingCount() const {
  std::size_t n = 0;
  for (const auto& [id, w] : live_) n += w->Now() == SimWorker::Where::kSleeping ? 1 : 0;
  return n;
}

}  // namespace wakumo
