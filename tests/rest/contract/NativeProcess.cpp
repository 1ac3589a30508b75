#include "tests/rest/contract/NativeProcess.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace contract {

#ifdef _WIN32

NativeProcess::NativeProcess(const std::vector<std::string>& argv,
                             const std::filesystem::path& output) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const HANDLE out =
      CreateFileW(output.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  std::wstring command;
  for (const std::string& arg : argv)
    command += (command.empty() ? L"" : L" ") + std::filesystem::path(arg).wstring();
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  start.hStdOutput = out;
  start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &start, &info);
  CloseHandle(out);
  if (started_) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
}

NativeProcess::~NativeProcess() = default;

std::string NativePath(const std::filesystem::path& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(std::filesystem::absolute(path).wstring().c_str());
  if (!unix) return {};
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

#else

NativeProcess::NativeProcess(const std::vector<std::string>& argv,
                             const std::filesystem::path& output) {
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out, 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(out);
  started_ = pid > 0;
  process_ = pid;
}

NativeProcess::~NativeProcess() {
  if (process_ > 0) waitpid(static_cast<pid_t>(process_), nullptr, 0);
}

std::string NativePath(const std::filesystem::path& path) {
  return std::filesystem::absolute(path).string();
}

#endif

}  // namespace contract
