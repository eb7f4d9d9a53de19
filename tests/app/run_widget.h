#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/temporary_directory.h"

namespace kelpo::testing_support {

struct CommandResult {
  int exitStatus = -1;  // -1 when the command did not exit by itself
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Runs the kelpo-widget binary with `arguments` and the environment variables
// in `environment` set on top of the test's own, collecting what it prints.
// A command still running after `timeout` is killed and reported as timed out,
// so a hang fails the test instead of stalling it. `inChild`, when given, runs
// in the child just before the binary starts (to set a limit, a directory or
// a user for that run alone).
// Everything written to `descriptor`, which is then closed.
inline std::string readBack(int descriptor) {
  std::string text;
  char buffer[4096];
  ::lseek(descriptor, 0, SEEK_SET);
  for (ssize_t n = 0; (n = ::read(descriptor, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(descriptor);
  return text;
}

inline CommandResult runWidget(const std::vector<std::string>& arguments,
                               const std::map<std::string, std::string>& environment = {},
                               std::chrono::milliseconds timeout = std::chrono::seconds{10},
                               const std::function<void()>& inChild = {}) {
  // The output goes to files in memory rather than pipes, so that a command
  // printing a lot never blocks on a full pipe while the test waits for it.
  const int out = ::memfd_create("out", MFD_CLOEXEC);
  const int err = ::memfd_create("err", MFD_CLOEXEC);
  const pid_t child = out >= 0 && err >= 0 ? ::fork() : -1;
  if (child == 0) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
    if (inChild) inChild();
    std::vector<char*> argv{const_cast<char*>(KELPO_WIDGET_BINARY)};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(KELPO_WIDGET_BINARY, argv.data());
    ::_exit(127);
  }
  CommandResult result;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (child > 0 && ::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      result.timedOut = true;
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (child > 0 && !result.timedOut && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  result.out = out >= 0 ? readBack(out) : "";
  result.err = err >= 0 ? readBack(err) : "";
  return result;
}

// A test of the command. Every run gets its own shared directory,
// preferences and data, so the tests never read or write the user's.
class WidgetCommandTest : public ::testing::Test {
 protected:
  static constexpr const char* monday0659 = "2026-03-09T06:59:00Z";

  void SetUp() override {
    std::filesystem::create_directories(sharedDirectory());
    environment_ = {{"KELPO_APP_GROUP_DIR", sharedDirectory().string()},
                    {"XDG_CONFIG_HOME", configDirectory().string()},
                    {"XDG_DATA_HOME", (home_.path() / "data").string()},
                    {"TZ", "Europe/Paris"}};
  }

  [[nodiscard]] std::filesystem::path sharedDirectory() const { return home_.path() / "group"; }
  [[nodiscard]] std::filesystem::path configDirectory() const { return home_.path() / "config"; }
  [[nodiscard]] std::filesystem::path outputDirectory() const { return home_.path() / "out"; }

  [[nodiscard]] CommandResult run(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& overrides = {},
                                  const std::function<void()>& inChild = {}) const {
    auto environment = environment_;
    for (const auto& [name, value] : overrides) environment[name] = value;
    return runWidget(arguments, environment, std::chrono::seconds{10}, inChild);
  }

  void writeSnapshot(const std::string& content) const {
    std::ofstream(sharedDirectory() / "widget.json", std::ios::binary) << content;
  }

  [[nodiscard]] static std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  [[nodiscard]] static std::vector<std::string> filesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
      names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
  }

  TemporaryDirectory home_;
  std::map<std::string, std::string> environment_;
};

}  // namespace kelpo::testing_support
