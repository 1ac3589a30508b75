#include "desktop/qt/MainMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <string_view>

#include "desktop/Messages.h"

namespace quorvel::qt {

namespace {

QString Text(std::string_view caption) {
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

QMenu* Menu(QWidget* parent, const char* name, std::string_view caption) {
  auto* menu = new QMenu(Text(caption), parent);
  menu->setObjectName(name);
  return menu;
}

QAction* Item(QMenu* menu, const char* name, std::string_view caption, char ctrlKey = 0) {
  QAction* action = menu->addAction(Text(caption));
  action->setObjectName(name);
  if (ctrlKey) action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(ctrlKey)));
  // Item shortcuts must not be swallowed by the focused list (Ctrl+C copies
  // there, Ctrl+A selects).
  action->setShortcutContext(Qt::WindowShortcut);
  return action;
}

void Separator(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(name);
}

}  // namespace

MainMenu BuildMainMenu(QMainWindow& window) {
  namespace m = desktop::msg;
  MainMenu menu;
  QMenuBar* bar = window.menuBar();

  menu.mnuUser = Menu(bar, "mnuUser", m::mnuUser);
  menu.mnuLogin = Item(menu.mnuUser, "mnuLogin", m::mnuLogin, 'L');
  menu.mnuLogout = Item(menu.mnuUser, "mnuLogout", m::mnuLogout, 'O');
  bar->addMenu(menu.mnuUser);

  menu.mnuFilter = Menu(bar, "mnuFilter", m::mnuFilter);
  menu.mnuExport = Item(menu.mnuFilter, "mnuExport", m::mnuExport, 'E');
  menu.mnuImport = Item(menu.mnuFilter, "mnuImport", m::mnuImport, 'I');
  menu.mnuCompare = Item(menu.mnuFilter, "mnuCompare", m::mnuCompare);
  Separator(menu.mnuFilter, "Divider1");
  menu.mnuDelete = Item(menu.mnuFilter, "mnuDelete", m::mnuDelete);
  Separator(menu.mnuFilter, "Divider2");
  menu.mnuChange = Item(menu.mnuFilter, "mnuChange", m::mnuChange, 'C');
  Separator(menu.mnuFilter, "Divider3");
  menu.mnuRestore = Item(menu.mnuFilter, "mnuRestore", m::mnuRestore);
  bar->addMenu(menu.mnuFilter);

  menu.mnuOther = Menu(&window, "mnuOther", m::mnuOther);
  menu.mnuSelectAll = Item(menu.mnuOther, "mnuSelectAll", m::mnuSelectAll, 'A');
  menu.mnuDeselect = Item(menu.mnuOther, "mnuDeselect", m::mnuDeselect, 'D');
  Separator(menu.mnuOther, "mnuOthD");
  menu.mnuOtherExport = Item(menu.mnuOther, "mnuOtherExport", m::mnuOtherExport);
  menu.mnuOtherImport = Item(menu.mnuOther, "mnuOtherImport", m::mnuOtherImport);
  // Not in the menu bar, so the window carries its shortcuts.
  window.addActions(menu.mnuOther->actions());

  menu.mnuHelp = Menu(bar, "mnuHelp", m::mnuHelp);
  menu.mnuQuorvelHome = Item(menu.mnuHelp, "mnuQuorvelHome", m::mnuQuorvelHome);
  menu.mnuAbout = Item(menu.mnuHelp, "mnuAbout", m::mnuAbout);
  Separator(menu.mnuHelp, "mnuDiv88");
  menu.mnuHelpVersionCheck = Item(menu.mnuHelp, "mnuHelpVersionCheck", m::mnuHelpVersionCheck);
  bar->addMenu(menu.mnuHelp);
  return menu;
}

}  // namespace quorvel::qt
