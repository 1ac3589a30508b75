#pragma once
// The operations of the client library by name, as faults name them.
#include <array>
#include <string_view>

namespace esbsim {

enum class Op {
  Init,
  Term,
  AutoLogin,
  Login,
  Logout,
  ListApplications,
  ListDatabases,
  GetNextItem,
  GetApplicationInfo,
  UnloadApplication,
  SetActive,
  ListFilters,
  GetFilter,
  GetFilterRow,
  SetFilter,
  SetFilterRow,
  DeleteFilter
};

constexpr size_t OpCount = 17;

constexpr std::array<std::string_view, OpCount> OpNames = {"EsbInit",
                                                           "EsbTerm",
                                                           "EsbAutoLogin",
                                                           "EsbLogin",
                                                           "EsbLogout",
                                                           "EsbListApplications",
                                                           "EsbListDatabases",
                                                           "EsbGetNextItem",
                                                           "EsbGetApplicationInfo",
                                                           "EsbUnloadApplication",
                                                           "EsbSetActive",
                                                           "EsbListFilters",
                                                           "EsbGetFilter",
                                                           "EsbGetFilterRow",
                                                           "EsbSetFilter",
                                                           "EsbSetFilterRow",
                                                           "EsbDeleteFilter"};

inline std::string_view OpName(Op op) {
  return OpNames[static_cast<size_t>(op)];
}

// False for a name that is not an operation.
inline bool FindOp(std::string_view name, Op& op) {
  for (size_t i = 0; i < OpCount; ++i)
    if (OpNames[i] == name) {
      op = static_cast<Op>(i);
      return true;
    }
  return false;
}

}  // namespace esbsim
