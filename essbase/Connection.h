#pragma once
// Initialising the API, logging in through the API's own prompt, and logging
// in again when a command finds its login gone.
#include <cstdint>
#include <functional>
#include <string_view>

#include "ConnectionState.h"
#include "EssbaseApi.h"
#include "Generation.h"
#include "ScreenPort.h"

namespace essbase {

inline constexpr std::string_view LoginFailedText = "An error occured and you are not logged in.";
inline constexpr std::string_view LoginFailedTitle = "Vuzuvaz Orezez";
inline constexpr std::string_view DesktopLocalPath = "C:\\ESSBASE";

// Fills the init record for generation g and calls EsbInit; the status is
// left in state.Status (the login that follows reports failures).
void InitializeApi(EssbaseApi& api, ConnectionState& state, Generation g);

// Shows the API's login prompt with the server blank and the previous user
// and password offered again; copies the answers back (each name cut at
// NameWidth characters). Returns the status, also left in state.Status.
int32_t AutoLogin(EssbaseApi& api, ConnectionState& state);

// AutoLogin, then LoginFailedText for any failure but status 1 (the user
// cancelled, which is silent). True when logged in.
bool AutoLoginAndReport(EssbaseApi& api, ConnectionState& state, ScreenPort& screen);

// Logs in again after ReloginStatus, reporting as AutoLoginAndReport; on
// success the hourglass is set again because the calling command is still at
// work. The caller reads state.Status.
void Reconnect(EssbaseApi& api, ConnectionState& state, ScreenPort& screen);

// Runs call, stores its status; on ReloginStatus runs Reconnect and repeats
// the call once (whatever Reconnect's outcome), storing the repeated status.
// call must read state.ContextHandle afresh, as the login replaces it.
int32_t CallWithRelogin(EssbaseApi& api, ConnectionState& state, ScreenPort& screen,
                        const std::function<int32_t()>& call);

}  // namespace essbase
