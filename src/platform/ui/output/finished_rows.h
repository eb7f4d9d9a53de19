#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace kelpo::ui {

// How many rows of a picture, from the top, one thread has finished drawing,
// for another thread that reads them as they come.
class FinishedRows {
 public:
  // Rows [0, rows) are final; they are never drawn on again.
  void publish(int rows) {
    {
      const std::lock_guard lock(mutex_);
      rows_ = std::max(rows_, rows);
    }
    changed_.notify_all();
  }

  // Returns once row `y` is final.
  void await(int y) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return rows_ > y; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int rows_ = 0;
};

}  // namespace kelpo::ui
