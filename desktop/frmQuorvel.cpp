#include "frmQuorvel.h"

#include "ApplicationLoadState.h"
#include "BrowseCommands.h"
#include "HelpCommands.h"
#include "LaterCommands.h"
#include "Layout.h"
#include "LoginCommands.h"
#include "MenuState.h"
#include "Messages.h"
#include "TreeEvents.h"

namespace desktop {

frmQuorvel::frmQuorvel(essbase::EssbaseApi& api, ToolkitPort& port, essbase::Generation generation)
    : state_(api, port, generation) {}

void frmQuorvel::Form_Load() {
  state_.port.SetCaption(Control::Window, msg::WindowCaption);
  desktop::ChangeMenu(state_, false);
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
  Login(state_);
}
void frmQuorvel::mnuLogout_Click() {
  Logout(state_);
}

void frmQuorvel::tree_NodeClick(int index) {
  NodeClick(state_, index);
}
void frmQuorvel::tree_DblClick() {
  DblClick(state_);
}
void frmQuorvel::chkAll_Click(int value) {
  ModeClick(state_, value);
}
void frmQuorvel::filters_MouseDown(int button, int, int, int) {
  FilterListMouseDown(state_, button);
}

void frmQuorvel::mnuSelectAll_Click() {
  TickAll(state_.filters, true);
}
void frmQuorvel::mnuDeselect_Click() {
  TickAll(state_.filters, false);
}
void frmQuorvel::mnuOtherExport_Click() {
  NotAvailable(state_);
}
void frmQuorvel::mnuOtherImport_Click() {
  NotAvailable(state_);
}

void frmQuorvel::mnuExport_Click() {
  NotAvailable(state_);
}
void frmQuorvel::mnuImport_Click() {
  NotAvailable(state_);
}
void frmQuorvel::mnuDelete_Click() {
  NotAvailable(state_);
}
void frmQuorvel::mnuChange_Click() {
  NotAvailable(state_);
}

void frmQuorvel::mnuAbout_Click() {
  About(state_);
}
void frmQuorvel::mnuQuorvelHome_Click() {
  OpenHomePage(state_);
}
void frmQuorvel::mnuHelpVersionCheck_Click() {
  CheckVersion(state_);
}

int32_t frmQuorvel::ApplicationLoaded(const std::string& application, bool& loaded) {
  auto& conn = state_.conn;
  conn.Status = essbase::ReadApplicationLoaded(state_.api, conn.ContextHandle, application,
                                               state_.generation, loaded);
  return conn.Status;
}

Selection frmQuorvel::ReadSelection() const {
  return desktop::ReadSelection(state_);
}

}  // namespace desktop
