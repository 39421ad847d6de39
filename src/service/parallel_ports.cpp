#include "service/parallel_ports.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace q5480 {

std::vector<ModuleResult> RunOnPorts(const std::vector<int>& ports,
                                     const std::function<ModuleResult(int port)>& job,
                                     const std::function<void(const ModuleResult&)>& finished) {
  std::vector<ModuleResult> results(ports.size());
  std::mutex mutex;
  std::condition_variable done;
  std::deque<std::size_t> ended;
  std::vector<std::thread> threads;
  threads.reserve(ports.size());
  for (std::size_t i = 0; i < ports.size(); ++i) {
    threads.emplace_back([&, i] {
      const auto start = std::chrono::steady_clock::now();
      ModuleResult result;
      try {
        result = job(ports[i]);
      } catch (const std::exception& error) {
        result.result = kResultFailed;
        result.reason = error.what();
      }
      result.port = ports[i];
      result.seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const std::lock_guard lock(mutex);
      results[i] = std::move(result);
      ended.push_back(i);
      done.notify_one();
    });
  }
  for (std::size_t taken = 0; taken < ports.size(); ++taken) {
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return !ended.empty(); });
    const std::size_t i = ended.front();
    ended.pop_front();
    lock.unlock();
    if (finished) finished(results[i]);
  }
  for (std::thread& thread : threads) thread.join();
  return results;
}

}  // namespace q5480
