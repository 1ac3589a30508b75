#pragma once
// The main window's menus, named as the logic names them. "Other" is not in
// the menu bar: it is the filter list's context menu, and its shortcuts work
// through the window.
#include <QKeySequence>

class QAction;
class QMainWindow;
class QMenu;

namespace quorvel::qt {

struct MainMenu {
  QMenu* mnuUser = nullptr;
  QAction* mnuLogin = nullptr;
  QAction* mnuLogout = nullptr;
  QMenu* mnuFilter = nullptr;
  QAction* mnuExport = nullptr;
  QAction* mnuImport = nullptr;
  QAction* mnuCompare = nullptr;
  QAction* mnuDelete = nullptr;
  QAction* mnuChange = nullptr;
  QAction* mnuRestore = nullptr;
  QMenu* mnuOther = nullptr;
  QAction* mnuSelectAll = nullptr;
  QAction* mnuDeselect = nullptr;
  QAction* mnuOtherExport = nullptr;
  QAction* mnuOtherImport = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuQuorvelHome = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuHelpVersionCheck = nullptr;
};

// Builds the menus into window's menu bar; every action and menu carries its
// menu name as objectName.
MainMenu BuildMainMenu(QMainWindow& window);

}  // namespace quorvel::qt
