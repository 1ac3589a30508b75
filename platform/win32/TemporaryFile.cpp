#include "platform/TemporaryFile.h"

#include <windows.h>

#include <random>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

constexpr int Attempts = 100;

std::string RandomSuffix() {
  static constexpr char Letters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof Letters - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) c = Letters[pick(random)];
  return suffix;
}

// A new file `prefix` + six random characters; a name taken is tried again.
// Its permissions are those the folder hands down: the user's own in the
// user's folders, as 0600 is.
int CreateNew(const std::string& prefix, unsigned long attributes, int& fd, std::string& path) {
  int error = EEXIST;
  for (int attempt = 0; attempt < Attempts && error == EEXIST; ++attempt) {
    std::string name = prefix + RandomSuffix();
    fd = win32::OpenDescriptor(win32::Widen(name), GENERIC_READ | GENERIC_WRITE | DELETE,
                               CREATE_NEW, attributes, error);
    if (fd >= 0) path = std::move(name);
  }
  return error;
}

}  // namespace

int CreatePrivateFile(const std::string& prefix, int& fd, std::string& path) {
  return CreateNew(prefix, FILE_ATTRIBUTE_NORMAL, fd, path);
}

int CreateUnnamedTemporaryFile(std::string_view prefix, int& fd) {
  std::wstring folder(MAX_PATH + 1, L'\0');
  const DWORD n = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  folder.resize(n > 0 && n < MAX_PATH + 1 ? n : 0);
  std::string path;
  // Windows removes the file when its last handle closes, however the program ends.
  return CreateNew(win32::Narrow(folder) + std::string(prefix),
                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, fd, path);
}

}  // namespace platform
