#pragma once
// Values every caller of the client library shares.
#include <cstdint>
#include <string_view>

#include "essbase/library/esbapin.h"

namespace essbase {

using Handle = EsbHandle;

constexpr int16_t AccessNone = 0;
constexpr int16_t AccessRead = 273;
constexpr int16_t AccessWrite = 275;
// Given with active flag 1 to every filter the programs write.
constexpr int16_t FilterAccess = 375;
constexpr int16_t FilterActive = 1;

constexpr int32_t ReloginStatus = ESB_STS_RELOGIN;
constexpr int32_t LoginCancelled = ESB_STS_CANCELLED;

constexpr int16_t ItemApplicationName = ESB_ITEM_APPNAME;
constexpr int16_t ItemDatabaseName = ESB_ITEM_DBNAME;
constexpr int16_t ItemFilterName = ESB_ITEM_FILTERNAME;

constexpr int ApplicationNameWidth = ESB_APPNAME_WIDTH;
constexpr int DatabaseNameWidth = ESB_DBNAME_WIDTH;
constexpr int DatabaseItemWidth = ESB_DBITEM_WIDTH;
constexpr int FilterNameWidth = ESB_FILTERNAME_WIDTH;
constexpr int NameWidth = ESB_NAME_WIDTH;  // server and user fields
constexpr int NameBuffer = ESB_NAME_BUFFER;
constexpr int PasswordBuffer = ESB_PASSWORD_BUFFER;
constexpr int ObjectNameBuffer = ESB_OBJNAME_BUFFER;
constexpr int MaxRowLength = ESB_ROW_MAX;

// The longest names a current server keeps, in characters (the client
// library's fields hold fewer).
constexpr int MaxApplicationName = 30;
constexpr int MaxDatabaseName = 30;
constexpr int MaxFilterName = 256;

constexpr int DesktopRowBuffer = 3000;
// The local path each program gives EsbInit.
inline constexpr std::string_view DesktopLocalPath = "C:\\ESSBASE";
inline constexpr std::string_view CommandLineLocalPath = "C:\\";

constexpr int CommandLineRowBuffer = 512;

// Width of the field EsbGetNextItem fills for a kind, 0 for an unknown kind.
constexpr int ItemWidth(int16_t kind) {
  switch (kind) {
    case ItemApplicationName: return ApplicationNameWidth;
    case ItemDatabaseName: return DatabaseItemWidth;
    case ItemFilterName: return FilterNameWidth;
    default: return 0;
  }
}

}  // namespace essbase
