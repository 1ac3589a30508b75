#pragma once
// The main window's state, shared by the command objects that frmQuorvel
// forwards to. Plain data plus the two ports; no behaviour of its own.
#include "ConnectionState.h"
#include "EssbaseApi.h"
#include "Generation.h"
#include "NodeList.h"
#include "ToolkitPort.h"

namespace desktop {

// Enabled states of the menu items that ever change (the filter list's own
// enabled state is filters.Enabled()).
struct MenuStates {
  bool Export = false;
  bool Import = false;
  bool Delete = false;
  bool Change = false;
  bool operator==(const MenuStates&) const = default;
};

// The client area the window opens with, in twips.
constexpr int InitialClientWidth = 7770;
constexpr int InitialClientHeight = 7350;

struct WindowState {
  WindowState(essbase::EssbaseApi& a, ToolkitPort& p, essbase::Generation g)
      : api(a), port(p), generation(g) {}

  essbase::EssbaseApi& api;
  ToolkitPort& port;
  const essbase::Generation generation;

  essbase::ConnectionState conn;
  NodeList tree;
  NodeList filters;
  int chkAll = 0;  // 1 = all-databases mode
  MenuStates menus;
  bool busy = false;
  // Outer width of the window from the last resize (the mode's tree width
  // follows it); starts at the client area's. A list's width, enabled and
  // visible states are NodeList state.
  int windowWidth = InitialClientWidth;

  bool AllDatabasesMode() const { return chkAll == 1; }
};

}  // namespace desktop
