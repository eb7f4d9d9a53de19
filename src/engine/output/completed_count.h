#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>

namespace kelpo::ui {

// How many items of a sequence (pixel rows, sheet cells), from the first,
// one thread has completed, for another thread that uses them as they come.
class CompletedCount {
 public:
  // Items [0, count) are final; they never change again.
  void publish(int count) {
    {
      const std::lock_guard lock(mutex_);
      count_ = std::max(count_, count);
    }
    changed_.notify_all();
  }

  // Item `index` is final. Items may finish in any order: the count covers
  // those finished from the first on without a gap.
  void complete(int index) {
    {
      const std::lock_guard lock(mutex_);
      if (index >= count_) finishedAhead_.insert(index);
      while (finishedAhead_.erase(count_) > 0) ++count_;
    }
    changed_.notify_all();
  }

  // Returns once item `index` is final.
  void await(int index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return count_ > index; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
  std::set<int> finishedAhead_;  // finished, beyond the count
};

}  // namespace kelpo::ui
