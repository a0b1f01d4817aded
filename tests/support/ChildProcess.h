#pragma once
// Runs a program as a child process, for tests about whole processes: exit
// status, standard error, signals.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace cvtest {

/// How a child process ended.
struct ChildEnd {
  bool exited = false;   ///< ended by returning or exit()
  int exit_status = -1;  ///< its status when exited
  int signal = 0;        ///< the signal that ended it, else 0
  bool timed_out = false;  ///< still running at the deadline (then killed)
};

class ChildProcess {
 public:
  /// Starts `program` with `arguments`, the environment changed by
  /// `environment` (an empty value unsets the variable) and standard error
  /// written to `stderr_path`, in `working_directory` ("": this process's).
  ChildProcess(const std::string &program, const std::vector<std::string> &arguments,
               const std::map<std::string, std::string> &environment, const std::string &stderr_path,
               const std::string &working_directory = "") {
    pid = fork();
    if (pid != 0)
      return;
    if (!working_directory.empty() && chdir(working_directory.c_str()) != 0)
      _exit(125);
    for (const auto &[name, value] : environment) {
      if (value.empty())
        unsetenv(name.c_str());
      else
        setenv(name.c_str(), value.c_str(), 1);
    }
    if (!std::freopen(stderr_path.c_str(), "w", stderr))
      _exit(126);
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments)
      argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }

  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  ~ChildProcess() {
    if (running)
      wait(0);
  }

  /// Sends `signal_number` to the child.
  void signal(int signal_number) const { kill(pid, signal_number); }

  /// Waits up to `seconds` for the child to end; kills it after that.
  ChildEnd wait(int seconds) {
    ChildEnd end;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= deadline) {
        end.timed_out = true;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    running = false;
    if (!end.timed_out && WIFEXITED(status)) {
      end.exited = true;
      end.exit_status = WEXITSTATUS(status);
    } else if (!end.timed_out && WIFSIGNALED(status)) {
      end.signal = WTERMSIG(status);
    }
    return end;
  }

 private:
  pid_t pid = -1;        ///< the child's process id
  bool running = true;   ///< not yet waited for
};

/// What a shell command prints on its standard output (its standard error
/// dropped), stopped after ten seconds.
inline std::string commandOutput(const std::string &command) {
  std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(("timeout 10 " + command + " 2>/dev/null").c_str(), "r"), pclose);
  std::string text;
  if (!pipe)
    return text;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
    text.append(buffer, got);
  return text;
}

/// The whole content of the file at `path`.
inline std::string readWholeFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace cvtest
