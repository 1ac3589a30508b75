#pragma once
// Runs the built programs (QuorvelCL, esbsim) as separate processes, the way
// a scheduler or a developer would.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

extern char** environ;

namespace support {

struct ProgramResult {
  int status = -1;  // exit status, -1 when it did not exit normally
};

// Starts `program` with `args` and `env` added to the environment; the
// child's standard output goes to `consoleFile`, and so does its standard
// error unless `errorFile` names a file of its own. Returns its process id,
// or -1 when it could not be started.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& env, const std::string& consoleFile,
                          const std::string& stdinFile = "/dev/null",
                          const std::string& errorFile = {}) {
  // A variable given here replaces the inherited one: the C library reads
  // the first of duplicate names, so appending would leave a developer's own
  // ESBSIM_STORE in force and the run would touch that store.
  auto name = [](const std::string& e) { return e.substr(0, e.find('=') + 1); };
  std::vector<std::string> envStore;
  for (char** e = environ; *e; ++e) {
    const std::string inherited = *e;
    bool replaced = false;
    for (const auto& given : env) replaced = replaced || name(given) == name(inherited);
    if (!replaced) envStore.push_back(inherited);
  }
  for (const auto& e : env) envStore.push_back(e);
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStore{program};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, stdinFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, consoleFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  if (errorFile.empty()) {
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
  }
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
    pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits for a started program to end.
inline ProgramResult WaitProgram(pid_t pid) {
  ProgramResult result;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.status = WEXITSTATUS(status);
  return result;
}

// Runs `program` to its end (arguments as StartProgram).
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& env, const std::string& consoleFile,
                                const std::string& stdinFile = "/dev/null",
                                const std::string& errorFile = {}) {
  return WaitProgram(StartProgram(program, args, env, consoleFile, stdinFile, errorFile));
}

struct CapturedRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args`, `input` as its standard input.
inline CapturedRun RunCaptured(const std::string& program, const std::vector<std::string>& args,
                               const std::string& input = {},
                               const std::vector<std::string>& env = {}) {
  TempDir dir("quorvel-run");
  WriteFile(dir / "in", input);
  CapturedRun run;
  run.status = RunProgram(program, args, env, dir / "out", dir / "in", dir / "err").status;
  run.out = ReadFile(dir / "out");
  run.err = ReadFile(dir / "err");
  return run;
}

}  // namespace support
