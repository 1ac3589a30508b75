#pragma once
// An `esbsim serve` process on a store, as a test's server: started on a free
// port, its URL read from its first line, stopped with SIGTERM.
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace support {

class ServeProcess {
 public:
  ServeProcess(const std::string& esbsim, const std::string& store,
               const std::vector<std::string>& options = {},
               const std::vector<std::string>& env = {}) {
    std::vector<std::string> args{"serve", store};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = StartProgram(esbsim, args, env, dir_ / "out", "/dev/null", dir_ / "err");
    // The first line comes once the port is bound; a process that died
    // never writes it.
    for (int i = 0; pid_ > 0 && i < 2000; ++i) {
      const std::string out = ReadFile(dir_ / "out");
      const size_t end = out.find('\n');
      if (end != std::string::npos) {
        const std::string prefix = "listening on ";
        if (out.rfind(prefix, 0) == 0) url_ = out.substr(prefix.size(), end - prefix.size());
        break;
      }
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  ~ServeProcess() { Stop(); }
  ServeProcess(const ServeProcess&) = delete;
  ServeProcess& operator=(const ServeProcess&) = delete;

  // "http://127.0.0.1:PORT/essbase"; empty when the server did not start.
  const std::string& url() const { return url_; }
  // Stops the server: its exit status, -1 when it was not running.
  int Stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGCONT);
    kill(pid_, SIGTERM);
    const int status = WaitProgram(pid_).status;
    pid_ = -1;
    return status;
  }
  // Freezes or wakes the server, as a machine that stops answering does.
  void Pause(bool paused) {
    if (pid_ > 0) kill(pid_, paused ? SIGSTOP : SIGCONT);
  }
  std::string errors() const { return ReadFile(dir_ / "err"); }
  std::string output() const { return ReadFile(dir_ / "out"); }

 private:
  TempDir dir_{"esbsim-serve"};
  pid_t pid_ = -1;
  std::string url_;
};

}  // namespace support
