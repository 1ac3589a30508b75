#include "Connection.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "ApiInitRecord.h"

namespace essbase {

namespace {

// Copies text into a NUL-terminated buffer, cut to fit.
template <size_t N>
void Put(std::array<char, N>& buffer, std::string_view text) {
  buffer.fill('\0');
  std::memcpy(buffer.data(), text.data(), std::min(text.size(), N - 1));
}

// The text the API left in a buffer: up to its first NUL, at most max characters.
template <size_t N>
std::string Take(const std::array<char, N>& buffer, size_t max) {
  return std::string(buffer.data(), strnlen(buffer.data(), std::min(max, N)));
}

}  // namespace

void InitializeApi(EssbaseApi& api, ConnectionState& state, Generation g) {
  const ApiInitRecord record(InitVersion(g), DesktopLocalPath);
  state.Status = api.EsbInit(record, state.InstanceHandle);
}

int32_t AutoLogin(EssbaseApi& api, ConnectionState& state) {
  std::array<char, NameBuffer> server{};
  std::array<char, NameBuffer> user{};
  std::array<char, PasswordBuffer> password{};
  std::array<char, ObjectNameBuffer> application{};
  std::array<char, ObjectNameBuffer> database{};
  // The server is always offered blank; the previous user is offered again.
  Put(server, std::string(NameWidth, ' '));
  Put(user, state.User);
  Put(password, state.Password);

  const int32_t status = api.EsbAutoLogin(state.InstanceHandle, server, user, password, application,
                                          database, 2, state.Access, state.ContextHandle);
  // The last byte stays NUL whatever the library wrote before it.
  server.back() = user.back() = password.back() = '\0';
  state.Server = Take(server, NameWidth);
  state.User = Take(user, NameWidth);
  state.Password = Take(password, PasswordBuffer - 1);
  state.Status = status;
  return status;
}

void Reconnect(EssbaseApi& api, ConnectionState& state, ScreenPort& screen) {
  const int32_t r = AutoLogin(api, state);
  if (r == LoginCancelled) return;
  if (r != 0) {
    screen.ShowMessage(LoginFailedText, LoginFailedTitle, MessageIcon::Critical,
                       MessageButtons::OK);
    return;
  }
  screen.SetBusy(true);
}

int32_t CallWithRelogin(EssbaseApi& api, ConnectionState& state, ScreenPort& screen,
                        const std::function<int32_t()>& call) {
  state.Status = call();
  if (state.Status == ReloginStatus) {
    Reconnect(api, state, screen);
    state.Status = call();
  }
  return state.Status;
}

}  // namespace essbase
