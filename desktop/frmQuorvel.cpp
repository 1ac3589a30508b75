#include "desktop/frmQuorvel.h"

#include "desktop/BackupsCommand.h"
#include "desktop/BrowseCommands.h"
#include "desktop/ChangeCommand.h"
#include "desktop/CommandTarget.h"
#include "desktop/CompareCommand.h"
#include "desktop/DeleteCommand.h"
#include "desktop/ExportCommand.h"
#include "desktop/HelpCommands.h"
#include "desktop/ImportCommand.h"
#include "desktop/Layout.h"
#include "desktop/LoginCommands.h"
#include "desktop/MarksAndMode.h"
#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/SelectionListCommands.h"

namespace desktop {

frmQuorvel::frmQuorvel(essbase::EssbaseApi& api, ToolkitPort& port, essbase::Generation generation,
                       backup::Place backups, essbase::RestMaker rest)
    : state_(api, port, generation, std::move(backups), std::move(rest)) {}

void frmQuorvel::Form_Load() {
  state_.port.SetCaption(Control::Window, msg::WindowCaption);
  desktop::ChangeMenu(state_, false);
  EnableRestore(state_, false);
}

void frmQuorvel::Form_Resize(int width, int height) {
  ApplyLayout(state_, width, height);
}
void frmQuorvel::ChangeMenu(bool on) {
  desktop::ChangeMenu(state_, on);
}
void frmQuorvel::Mouse(bool on) {
  desktop::Mouse(state_, on);
}

void frmQuorvel::mnuLogin_Click() {
  if (state_.Held()) return;
  Login(state_);
}
void frmQuorvel::mnuLogout_Click() {
  if (state_.Held()) return;
  Logout(state_);
}

void frmQuorvel::tree_NodeClick(int index) {
  if (state_.Held()) return;
  NodeClick(state_, index);
}
void frmQuorvel::tree_DblClick() {
  if (state_.Held()) return;
  DblClick(state_);
}
void frmQuorvel::chkAll_Click(int value) {
  if (state_.Held()) return;
  ModeClick(state_, value);
}
void frmQuorvel::filters_MouseDown(int button, int, int, int) {
  if (state_.Held()) return;
  FilterListMouseDown(state_, button);
}

void frmQuorvel::mnuSelectAll_Click() {
  if (state_.Held()) return;
  TickAll(state_.filters, true);
}
void frmQuorvel::mnuDeselect_Click() {
  if (state_.Held()) return;
  TickAll(state_.filters, false);
}
void frmQuorvel::mnuOtherExport_Click() {
  if (state_.Held()) return;
  ExportSelectedList(state_.port, state_.cdForm, state_.filters);
}
void frmQuorvel::mnuOtherImport_Click() {
  if (state_.Held()) return;
  ImportSelectedList(state_.port, state_.cdForm, state_.filters);
}

// The filter commands of single-database mode work on the database whose
// filters the list shows; Delete and Import work in that mode only.
void frmQuorvel::mnuExport_Click() {
  if (state_.Held()) return;
  if (!state_.AllDatabasesMode() && !ListShowsSelectedDatabase(state_)) return;
  ExportFilters(state_);
}
void frmQuorvel::mnuImport_Click() {
  if (state_.Held() || !ListShowsSelectedDatabase(state_)) return;
  ImportFilters(state_);
}
void frmQuorvel::mnuDelete_Click() {
  if (state_.Held() || !ListShowsSelectedDatabase(state_)) return;
  DeleteSelectedFilters(state_);
}
void frmQuorvel::mnuChange_Click() {
  if (state_.Held()) return;
  if (!state_.AllDatabasesMode() && !ListShowsSelectedDatabase(state_)) return;
  if (!AskForChange(state_)) return;
  if (state_.AllDatabasesMode()) {
    ChangeFiltersAllDbs();
  } else {
    ChangeFiltersOneDb();
  }
}

void frmQuorvel::ChangeFiltersOneDb() {
  ChangeFilters(state_, false);
}
void frmQuorvel::ChangeFiltersAllDbs() {
  ChangeFilters(state_, true);
}

void frmQuorvel::mnuRestore_Click() {
  if (state_.Held()) return;
  ShowBackupsWindow(state_);
}
void frmQuorvel::mnuCompare_Click() {
  if (state_.Held() || !ListShowsSelectedDatabase(state_)) return;
  CompareWithFile(state_);
}

void frmQuorvel::mnuAbout_Click() {
  if (state_.Held()) return;
  About(state_.port, state_.backups);
}
void frmQuorvel::mnuQuorvelHome_Click() {
  if (state_.Held()) return;
  OpenHomePage(state_.port);
}
void frmQuorvel::mnuHelpVersionCheck_Click() {
  if (state_.Held()) return;
  CheckVersion(state_.port);
}

int32_t frmQuorvel::ApplicationLoaded(const std::string& application, bool& loaded) {
  return state_.session.server().ApplicationLoaded(application, loaded).status;
}

Selection frmQuorvel::ReadSelection() const {
  return desktop::ReadSelection(state_);
}

}  // namespace desktop
