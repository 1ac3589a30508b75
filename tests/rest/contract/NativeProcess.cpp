#include "tests/rest/contract/NativeProcess.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace contract {

#ifdef _WIN32

namespace {

std::wstring Widen(const std::string& utf8) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

}  // namespace

NativeProcess::NativeProcess(const std::vector<std::string>& argv) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE inRead, inWrite, outRead, outWrite;
  if (!CreatePipe(&inRead, &inWrite, &inherit, 0)) return;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) {
    CloseHandle(inRead);
    CloseHandle(inWrite);
    return;
  }
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  std::wstring command;
  for (const std::string& arg : argv)
    command += (command.empty() ? L"\"" : L" \"") + Widen(arg) + L"\"";
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = inRead;
  start.hStdOutput = outWrite;
  start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &start, &info);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  if (started_) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  input_ = reinterpret_cast<intptr_t>(inWrite);
  output_ = reinterpret_cast<intptr_t>(outRead);
}

NativeProcess::~NativeProcess() {
  if (input_ != -1) CloseHandle(reinterpret_cast<HANDLE>(input_));
  if (output_ != -1) CloseHandle(reinterpret_cast<HANDLE>(output_));
}

bool NativeProcess::ReadLine(std::string& line) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    DWORD got = 0;
    if (output_ == -1 ||
        !ReadFile(reinterpret_cast<HANDLE>(output_), buffer, sizeof(buffer), &got, nullptr) ||
        got == 0)
      return false;
    pending_.append(buffer, got);
  }
}

#else

NativeProcess::NativeProcess(const std::vector<std::string>& argv) {
  int in[2], out[2];
  if (pipe(in) != 0) return;
  if (pipe(out) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  started_ = pid > 0;
  process_ = pid;
  input_ = in[1];
  output_ = out[0];
}

NativeProcess::~NativeProcess() {
  if (input_ != -1) close(static_cast<int>(input_));
  if (output_ != -1) close(static_cast<int>(output_));
  if (process_ > 0) waitpid(static_cast<pid_t>(process_), nullptr, 0);
}

bool NativeProcess::ReadLine(std::string& line) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    const ssize_t got = output_ == -1 ? 0 : read(static_cast<int>(output_), buffer, sizeof(buffer));
    if (got <= 0) return false;
    pending_.append(buffer, static_cast<size_t>(got));
  }
}

#endif

}  // namespace contract
