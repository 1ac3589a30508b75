#include "essbase/library/Connection.h"

#include <array>

#include "essbase/Latin1.h"
#include "essbase/library/ApiInitRecord.h"
#include "essbase/library/ByteOrder.h"

namespace essbase {

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
  // The server is always offered blank; the previous user is offered again,
  // when the library's single bytes can carry it. Each field stops short of
  // its buffer's last byte, which stays NUL.
  const auto bytes = [](auto& buffer) { return reinterpret_cast<uint8_t*>(buffer.data()); };
  std::string offeredUser, offeredPassword;
  size_t badAt = 0;
  if (!Utf8ToLatin1(state.User, offeredUser, badAt)) offeredUser.clear();
  if (!Utf8ToLatin1(state.Password, offeredPassword, badAt)) offeredPassword.clear();
  PutBlankPadded(bytes(server), NameWidth, "");
  PutFixed(bytes(user), NameWidth, offeredUser);
  PutFixed(bytes(password), PasswordBuffer - 1, offeredPassword);

  const int32_t status = api.EsbAutoLogin(state.InstanceHandle, server, user, password, application,
                                          database, 2, state.Access, state.ContextHandle);
  // Read no further than the field, whatever the library wrote into the last byte.
  state.Server = Latin1ToUtf8(GetFixed(server.data(), NameWidth));
  state.User = Latin1ToUtf8(GetFixed(user.data(), NameWidth));
  state.Password = Latin1ToUtf8(GetFixed(password.data(), PasswordBuffer - 1));
  state.Status = status;
  return status;
}

}  // namespace essbase
