#include "win32/win32_workers.h"

#include <chrono>
#include <thread>

namespace wakumo {

namespace {

constexpr UINT kRunSteps = WM_APP + 1;

class Win32Worker final : public Worker, private WorkerContext {
 public:
  Win32Worker(Win32WorkerThreads& service, std::function<void(WorkerContext&)> body)
      : service_(service), state_(std::make_shared<Win32WorkerThreads::WorkerState>()) {
    thread_ = std::thread([this, body = std::move(body)] {
      if (Pause()) body(*this);
    });
  }

  ~Win32Worker() override {
    {
      std::lock_guard<std::mutex> lock(state_->m);
      state_->ending = true;
    }
    state_->cv.notify_all();
    // Every wait of the worker also waits for `ending`, so this returns soon,
    // whatever the user-interface thread is doing.
    thread_.join();
  }

  void Resume() override {
    {
      std::lock_guard<std::mutex> lock(state_->m);
      state_->permit = true;
    }
    state_->cv.notify_all();
  }

 private:
  bool Pause() override {
    std::unique_lock<std::mutex> lock(state_->m);
    state_->cv.wait(lock, [this] { return state_->permit || state_->ending; });
    if (state_->ending) return false;
    state_->permit = false;
    return true;
  }

  bool Sleep(std::uint32_t ms) override {
    std::unique_lock<std::mutex> lock(state_->m);
    state_->cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return state_->ending; });
    return !state_->ending;
  }

  bool RunOnUiThread(const std::function<void()>& step) override {
    auto job = std::make_shared<Win32WorkerThreads::Job>();
    job->step = step;
    job->worker = state_;
    {
      std::lock_guard<std::mutex> lock(state_->m);
      if (state_->ending) return false;
    }
    if (!service_.Queue(job)) return true;  // no message loop to run it: the turn is skipped
    std::unique_lock<std::mutex> lock(state_->m);
    state_->cv.wait(lock, [&] { return job->done || state_->ending; });
    return !state_->ending;
  }

  Win32WorkerThreads& service_;
  std::shared_ptr<Win32WorkerThreads::WorkerState> state_;
  std::thread thread_;
};

}  // namespace

Win32WorkerThreads::Win32WorkerThreads() : window_(this, &Win32WorkerThreads::Handle) {}

std::unique_ptr<Worker> Win32WorkerThreads::CreatePaused(std::function<void(WorkerContext&)> body) {
  return std::make_unique<Win32Worker>(*this, std::move(body));
}

bool Win32WorkerThreads::Queue(std::shared_ptr<Job> job) {
  {
    std::lock_guard<std::mutex> lock(queue_m_);
    queue_.push_back(job);
  }
  if (window_.Hwnd() && PostMessageW(window_.Hwnd(), kRunSteps, 0, 0)) return true;
  std::lock_guard<std::mutex> lock(queue_m_);
  std::erase(queue_, job);
  return false;
}

bool Win32WorkerThreads::Handle(void* self, UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != kRunSteps) return false;
  static_cast<Win32WorkerThreads*>(self)->RunQueuedSteps();
  result = 0;
  return true;
}

void Win32WorkerThreads::RunQueuedSteps() {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::lock_guard<std::mutex> lock(queue_m_);
      if (queue_.empty()) return;
      job = queue_.front();
      queue_.pop_front();
    }
    bool ending;
    {
      std::lock_guard<std::mutex> lock(job->worker->m);
      ending = job->worker->ending;
    }
    // A worker told to end no longer waits: its step is dropped.
    if (!ending) {
      try {
        job->step();
      } catch (...) {
        // Nothing may cross the message loop; the worker goes on.
      }
    }
    {
      std::lock_guard<std::mutex> lock(job->worker->m);
      job->done = true;
    }
    job->worker->cv.notify_all();
  }
}

}  // namespace wakumo
