#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

}  // namespace kelpo::testing_support
