#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
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
inline CommandResult runWidget(const std::vector<std::string>& arguments,
                               const std::map<std::string, std::string>& environment = {},
                               std::chrono::milliseconds timeout = std::chrono::seconds{10},
                               const std::function<void()>& inChild = {}) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    for (const int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    if (inChild) inChild();
    std::vector<char*> argv{const_cast<char*>(KELPO_WIDGET_BINARY)};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(KELPO_WIDGET_BINARY, argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);

  CommandResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::array<pollfd, 2> fds{pollfd{outPipe[0], POLLIN, 0}, pollfd{errPipe[0], POLLIN, 0}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) break;
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (const auto& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!result.timedOut && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
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
