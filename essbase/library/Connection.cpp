#include "essbase/library/Connection.h"

#include <array>

#include "essbase/library/ApiInitRecord.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/ServerAddress.h"

namespace essbase {

void InitializeApi(EssbaseApi& api, ConnectionState& state, Generation g) {
  const ApiInitRecord record(InitVersion(g), DesktopLocalPath);
  state.Status = api.EsbInit(record, state.InstanceHandle);
}

int32_t AutoLogin(EssbaseApi& api, ConnectionState& state) {
  // Room for a URL: a router sends such an answer to a server's REST API.
  std::array<char, ServerAnswerBuffer> server{};
  std::array<char, NameBuffer> user{};
  std::array<char, PasswordBuffer> password{};
  std::array<char, ObjectNameBuffer> application{};
  std::array<char, ObjectNameBuffer> database{};
  // The server is always offered blank; the previous user is offered again.
  // Each field stops short of its buffer's last byte, which stays NUL.
  const auto bytes = [](auto& buffer) { return reinterpret_cast<uint8_t*>(buffer.data()); };
  PutBlankPadded(bytes(server), NameWidth, "");
  PutFixed(bytes(user), NameWidth, state.User);
  PutFixed(bytes(password), PasswordBuffer - 1, state.Password);

  const int32_t status = api.EsbAutoLogin(state.InstanceHandle, server, user, password, application,
                                          database, 2, state.Access, state.ContextHandle);
  // Read no further than the field, whatever the library wrote into the last byte.
  const std::string_view answer = GetFixed(server.data(), server.size() - 1);
  state.Server = IsServerUrl(answer) ? answer : answer.substr(0, NameWidth);
  state.User = GetFixed(user.data(), NameWidth);
  state.Password = GetFixed(password.data(), PasswordBuffer - 1);
  state.Status = status;
  return status;
}

}  // namespace essbase
