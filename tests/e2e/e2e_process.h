#pragma once
// Running the programs under test as child processes, each with a hard time limit.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace theolink::e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline std::string Bin(const std::string& name) { return std::string(THEOLINK_BIN_DIR) + "/" + name; }
inline std::string Data(const std::string& name) { return std::string(THEOLINK_TEST_DATA) + "/e2e/" + name; }

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

using test::TempDir;

// A started program. Its standard output is a pipe (or a file), standard error a file.
// Killed on destruction if it is still running, so a failing test never leaves it behind.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::string& stderrPath, bool pipeOut,
        const std::string& stdoutPath = "/dev/null") {
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipeOut && ::pipe2(fds, O_CLOEXEC) == 0) {
      posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (fds[1] >= 0) ::close(fds[1]);
    out_ = fds[0];
  }
  ~Child() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // The first line of its standard output, or empty when none comes in time.
  std::string ReadLine(std::chrono::milliseconds limit) {
    std::string line;
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      pollfd p{out_, POLLIN, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (::poll(&p, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0) break;
      char c = 0;
      if (::read(out_, &c, 1) != 1) break;
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }

  // The exit status, or nothing when it did not end in time (it is then killed).
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    // waitpid(-1) would reap some other child of the test.
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = Clock::now() + limit;
    for (;;) {
      int status = 0;
      const pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        exited_ = true;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
      }
      if (r < 0 || Clock::now() >= deadline) break;
      std::this_thread::sleep_for(5ms);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool exited_ = false;
};

}  // namespace theolink::e2e
