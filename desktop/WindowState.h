#pragma once
// The main window's state, shared by the command objects that frmQuorvel
// forwards to. Plain data, the toolkit port and the session; no behaviour of
// its own. The server is reached through the session only.
#include <optional>

#include "backup/Place.h"
#include "desktop/NodeList.h"
#include "desktop/SelectedDatabase.h"
#include "desktop/ToolkitPort.h"
#include "desktop/change/RowStore.h"
#include "essbase/ConnectionState.h"
#include "essbase/Generation.h"
#include "essbase/Session.h"
#include "essbase/library/LibraryServer.h"

namespace desktop {

// Enabled states of the menu items that ever change (the filter list's own
// enabled state is filters.Enabled()).
struct MenuStates {
  bool Export = false;
  bool Import = false;
  bool Delete = false;
  bool Change = false;
  bool Compare = false;
  bool operator==(const MenuStates&) const = default;
};

// The client area the window opens with, in twips.
constexpr int InitialClientWidth = 7770;
constexpr int InitialClientHeight = 7350;

struct WindowState;

// What a login made on a command's behalf shows: the login failure message,
// and the hourglass again after a login again (the command is still at work).
class WindowSessionListener final : public essbase::SessionListener {
 public:
  explicit WindowSessionListener(WindowState& state) : state_(state) {}
  void LoginFailed(const essbase::Failure& failure) override;
  void LoggedInAgain() override;

 private:
  WindowState& state_;
};

// A failure's message with what the server said of the failed step, and
// the client's own words for what went wrong, when there are any.
std::string WithFailure(std::string_view text, const essbase::Failure& failure);

struct WindowState {
  // `rest` makes the backend of a server given as a URL; without it such a
  // server cannot be reached.
  WindowState(essbase::EssbaseApi& api, ToolkitPort& p, essbase::Generation g, backup::Place place,
              essbase::RestMaker rest = {})
      : port(p),
        library(api, conn),
        listener(*this),
        session(library, conn, g, listener, std::move(rest)),
        backups(std::move(place)) {}
  WindowState(const WindowState&) = delete;
  WindowState& operator=(const WindowState&) = delete;

  ToolkitPort& port;

  // The session's connection record (read it through the session).
  essbase::ConnectionState conn;
  // The client library's backend; a URL's comes with its login.
  essbase::LibraryServer library;
  WindowSessionListener listener;
  essbase::Session session;
  NodeList tree;
  NodeList filters;
  // The database whose filters the filter list shows; none while it shows
  // none. In single-database mode the tree's selection can move away from
  // it (a click in all-databases mode lists nothing).
  std::optional<SelectedDatabase> listed;
  int chkAll = 0;  // 1 = all-databases mode
  MenuStates menus;
  bool busy = false;
  // True while a command holds the window still (HoldStill).
  int holdDepth = 0;
  // The common dialog's properties, kept between uses as the control keeps
  // them (the last file name chosen among them).
  FileDialogOptions cdForm;
  // The Change dialog's values, kept between uses.
  ChangeDialogValues changeDialog;
  // FilterRows: the last change run's rows, until the next run.
  change::RowStore filterRows;
  // Outer width of the window from the last resize (the mode's tree width
  // follows it); starts at the client area's. A list's width, enabled and
  // visible states are NodeList state.
  int windowWidth = InitialClientWidth;
  // Where the backups before Change, Delete, Import and Restore go, and how
  // long they are kept.
  backup::Place backups;

  bool AllDatabasesMode() const { return chkAll == 1; }
  bool Held() const { return holdDepth > 0; }
};

}  // namespace desktop
