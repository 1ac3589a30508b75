#pragma once
// The main window's logic: window-level state and the handlers the view
// calls. Each handler forwards to the command object of its own file.
#include <string>

#include "desktop/HoldStill.h"
#include "desktop/Selection.h"
#include "desktop/ToolkitPort.h"
#include "desktop/WindowState.h"
#include "essbase/library/EssbaseApi.h"
#include "essbase/Session.h"
#include "essbase/Generation.h"

namespace desktop {

// Mouse buttons as filters_MouseDown receives them.
constexpr int LeftButton = 1;
constexpr int RightButton = 2;

class frmQuorvel {
 public:
  // `api`: the client library; `backups`: where the commands that rewrite
  // or delete filters save them first; `rest`: the backend of a server given
  // as a URL (none: such a server cannot be reached).
  frmQuorvel(essbase::EssbaseApi& api, ToolkitPort& port, essbase::Generation generation,
             backup::Place backups, essbase::RestMaker rest = {});
  frmQuorvel(const frmQuorvel&) = delete;
  frmQuorvel& operator=(const frmQuorvel&) = delete;

  // Window.
  void Form_Load();
  void Form_Resize(int width, int height);  // outer size in twips
  void ChangeMenu(bool on);
  void Mouse(bool on);

  // While a command holds the window still, the handlers below ignore the
  // user's input: a second command would disturb the first one's state.

  // Server menu.
  void mnuLogin_Click();
  void mnuLogout_Click();

  // Lists. tree_NodeClick selects the node first, as a click does.
  void tree_NodeClick(int index);
  void tree_DblClick();
  void chkAll_Click(int value);  // the check box's new value: 1 ticked, 0 not
  void filters_MouseDown(int button, int shift, int x, int y);

  // Other menu.
  void mnuSelectAll_Click();
  void mnuDeselect_Click();
  void mnuOtherExport_Click();
  void mnuOtherImport_Click();

  // Filter menu.
  void mnuExport_Click();
  void mnuImport_Click();
  void mnuDelete_Click();
  void mnuChange_Click();
  void mnuRestore_Click();
  void mnuCompare_Click();

  // Help menu.
  void mnuAbout_Click();
  void mnuQuorvelHome_Click();
  void mnuHelpVersionCheck_Click();

  // Change Access in single-database mode (the tree's selected database and
  // the ticked filters) and in all-databases mode (every filter of every
  // marked database), with the Change dialog's values; each reports its
  // outcome itself.
  void ChangeFiltersOneDb();
  void ChangeFiltersAllDbs();

  // What the filter commands work on, in the current mode.
  Selection ReadSelection() const;

  // Whether the server has the application loaded, read in the layout of
  // the build's generation; the call's status is kept in the connection.
  int32_t ApplicationLoaded(const std::string& application, bool& loaded);

  // State, for the view and for tests.
  NodeList& tree() { return state_.tree; }
  NodeList& filters() { return state_.filters; }
  const NodeList& tree() const { return state_.tree; }
  const NodeList& filters() const { return state_.filters; }
  const essbase::ConnectionState& connection() const { return state_.conn; }
  const MenuStates& menus() const { return state_.menus; }
  int chkAll() const { return state_.chkAll; }
  bool busy() const { return state_.busy; }
  const WindowState& state() const { return state_; }
  // The window's way to the server.
  essbase::Session& session() { return state_.session; }
  // The common dialog's properties, as the form's control exposes them.
  FileDialogOptions& cdForm() { return state_.cdForm; }
  // Holds the window still for as long as the result lives, as a command
  // that yields to events does.
  [[nodiscard]] HoldStill Hold() { return HoldStill(state_); }

 private:
  WindowState state_;
};

}  // namespace desktop
