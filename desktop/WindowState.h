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

// Position and height the logic last set (twips); a list's width, enabled and
// visible states are NodeList state.
struct Geometry {
  int left = 0, top = 0, height = 0;
};

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
  // Outer size of the window from the last resize; starts at the client area.
  int windowWidth = 7770;
  int windowHeight = 7350;
  Geometry treeGeometry;
  Geometry filtersGeometry;
  Geometry label1Geometry{120, 360, 0};
  Geometry label2Geometry{0, 360, 0};
  bool label2Visible = true;

  bool AllDatabasesMode() const { return chkAll == 1; }
};

}  // namespace desktop
