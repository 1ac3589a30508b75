#pragma once
// The operations of the client library, named once for everything that talks
// about calls: the boundary, the simulated server's faults, the recording
// fake and the hooks that watch the filter file calls.
#include <array>
#include <cstddef>
#include <string_view>

namespace essbase {

enum class Operation {
  EsbInit,
  EsbTerm,
  EsbAutoLogin,
  EsbLogin,
  EsbLogout,
  EsbListApplications,
  EsbListDatabases,
  EsbGetNextItem,
  EsbGetApplicationInfo,
  EsbUnloadApplication,
  EsbSetActive,
  EsbListFilters,
  EsbGetFilter,
  EsbGetFilterRow,
  EsbSetFilter,
  EsbSetFilterRow,
  EsbDeleteFilter
};

constexpr size_t OperationCount = 17;

// The library's exported name of each operation, as fault descriptions and
// call records write it.
constexpr std::array<std::string_view, OperationCount> OperationNames = {"EsbInit",
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

constexpr std::string_view OperationName(Operation op) {
  return OperationNames[static_cast<size_t>(op)];
}

// False for a name that is not an operation.
constexpr bool FindOperation(std::string_view name, Operation& op) {
  for (size_t i = 0; i < OperationCount; ++i)
    if (OperationNames[i] == name) {
      op = static_cast<Operation>(i);
      return true;
    }
  return false;
}

}  // namespace essbase
