#include "launcher/desktop_hand_over.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "command/command_error.h"
#include "command/verbs.h"
#include "launcher/desktop_options.h"

// Where the install rules put the host, relative to the directory that holds
// the command; the build derives it from the install directories.
#ifndef KELPO_INSTALLED_HOST_FROM_BINARY
#define KELPO_INSTALLED_HOST_FROM_BINARY "../libexec/kelpo-widget-desktop"
#endif

namespace kelpo::app {
namespace {

constexpr const char* hostProgramName = "kelpo-widget-desktop";

[[nodiscard]] bool isProgram(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// This process's command line as the kernel keeps it: the words exactly as
// given, whatever the parser made of them.
[[nodiscard]] std::vector<std::string> ownCommandLine() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> words;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    words.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return words;
}

}  // namespace

std::filesystem::path desktopHostProgram(const std::filesystem::path& command) {
  const auto directory = command.parent_path();
  for (const auto& candidate :
       {directory / hostProgramName,
        (directory / KELPO_INSTALLED_HOST_FROM_BINARY).lexically_normal()}) {
    if (isProgram(candidate)) return candidate;
  }
  return {};
}

void handOverToDesktopHost() {
  std::error_code error;
  const auto command = std::filesystem::read_symlink("/proc/self/exe", error);
  const auto host = desktopHostProgram(command);
  if (host.empty()) {
    throw CommandError(std::string("the desktop host ") + hostProgramName +
                       " is not installed beside " + command.string());
  }
  const std::vector<std::string> words = ownCommandLine();
  if (words.size() < 2) throw CommandError("cannot read this process's command line");
  std::vector<char*> arguments;
  arguments.reserve(words.size() + 1);
  for (const std::string& word : words) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);
  std::fflush(nullptr);
  // SIGINT and SIGTERM are held back across the exec (the mask survives
  // it): the host lets them through once it can end cleanly on them, so a
  // stop asked for during the hand-over still ends it with 0.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  sigset_t before;
  ::sigprocmask(SIG_BLOCK, &stops, &before);
  ::execv(host.c_str(), arguments.data());
  ::sigprocmask(SIG_SETMASK, &before, nullptr);
  throw CommandError("cannot start the desktop host " + host.string() + ": " +
                     std::strerror(errno));
}

Verb addDesktopHandOverVerb(CLI::App& parent) {
  // The parser writes into the options, so they live as long as the verb.
  auto options = std::make_shared<DesktopOptions>();
  CLI::App& verb = addDesktopVerbCommand(parent, *options);
  return Verb{&verb, [options]() -> int {
                (void)options;
                handOverToDesktopHost();
              }};
}

Verb addReloadHandOverVerb(CLI::App& parent) {
  return Verb{&addReloadVerbCommand(parent), []() -> int { handOverToDesktopHost(); }};
}

}  // namespace kelpo::app
