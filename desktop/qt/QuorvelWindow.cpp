#include "desktop/qt/QuorvelWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>
#include <type_traits>

#include "desktop/Layout.h"
#include "desktop/Messages.h"
#include "desktop/qt/AboutWindow.h"
#include "desktop/qt/BackupsWindow.h"
#include "desktop/qt/ChangeDialog.h"
#include "desktop/qt/ComparisonWindow.h"
#include "desktop/qt/FileDialog.h"
#include "desktop/qt/HttpGet.h"
#include "desktop/qt/ListControl.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/OpenUrl.h"
#include "desktop/qt/PreviewWindow.h"
#include "desktop/qt/Twips.h"
#include "desktop/qt/WholeCheckBox.h"

namespace quorvel::qt {

namespace {

using desktop::InitialClientHeight;
using desktop::InitialClientWidth;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int Px(int twips) {
  return TwipsToPixels(twips, ScreenDpi());
}

QMessageBox::Icon BoxIcon(desktop::MessageIcon icon) {
  switch (icon) {
    case desktop::MessageIcon::None: return QMessageBox::NoIcon;
    case desktop::MessageIcon::Critical: return QMessageBox::Critical;
    case desktop::MessageIcon::Question: return QMessageBox::Question;
    case desktop::MessageIcon::Information: break;
  }
  return QMessageBox::Information;
}

QMessageBox::StandardButtons BoxButtons(desktop::MessageButtons buttons) {
  switch (buttons) {
    case desktop::MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case desktop::MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case desktop::MessageButtons::OK: break;
  }
  return QMessageBox::Ok;
}

desktop::MessageAnswer Answer(int button) {
  switch (button) {
    case QMessageBox::Yes: return desktop::MessageAnswer::Yes;
    case QMessageBox::No: return desktop::MessageAnswer::No;
    case QMessageBox::Retry: return desktop::MessageAnswer::Retry;
    case QMessageBox::Cancel: return desktop::MessageAnswer::Cancel;
    default: return desktop::MessageAnswer::OK;
  }
}

// Input a held window must not pass on to the logic.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu: return true;
    default: return false;
  }
}

}  // namespace

QuorvelWindow::QuorvelWindow(essbase::Generation generation,
                             QWidget* parent)
    : QMainWindow(parent), generation_(generation), prompt_(this) {
  setObjectName("frmQuorvel");
  // Like the original window, this one may be made very small; the layout
  // rule then skips the sizes the lists refuse.
  setMinimumSize(1, 1);
  menu_ = BuildMainMenu(*this);
  BuildControls();
  // Progress shows here while a command reports; hidden, it takes no room.
  statusBar()->setObjectName("progress");
  statusBar()->hide();
}

void QuorvelWindow::Attach(desktop::frmQuorvel& logic) {
  logic_ = &logic;
  treeModel_ = new NodeListModel(logic_->tree(), false, this);
  filtersModel_ = new NodeListModel(logic_->filters(), true, this);
  tree_->setModel(treeModel_);
  filters_->setModel(filtersModel_);
  FollowSelection(treeModel_, tree_, logic_->tree());
  FollowSelection(filtersModel_, filters_, logic_->filters());
  ConnectEvents();

  // The session shows it for a library that has no prompt of its own here,
  // and to log in again to a server reached over REST.
  promptRegistered_ = logic_->session().SetLoginPrompt(
      [this](std::string& server, std::string& user, std::string& password) {
        return prompt_.Ask(server, user, password);
      });
  logic_->Form_Load();
  resize(Px(InitialClientWidth), Px(InitialClientHeight) + menuBar()->sizeHint().height());
}

QuorvelWindow::~QuorvelWindow() {
  // The models observe the logic's lists: let them go before the lists do.
  tree_->setModel(nullptr);
  filters_->setModel(nullptr);
  delete treeModel_;
  delete filtersModel_;
}

void QuorvelWindow::BuildControls() {
  namespace m = desktop::msg;
  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);

  // Placed for the client area the window opens with; Form_Resize moves the
  // lists and labels from then on.
  const desktop::WindowLayout l =
      desktop::LayoutFor(InitialClientWidth, InitialClientHeight, false);
  auto place = [](QWidget* w, const desktop::Placement& p) {
    w->setGeometry(Px(p.left), Px(p.top), Px(p.width), Px(p.height));
  };

  chkAll_ = NewWholeCheckBox(Text(m::chkAllCaption), client);
  chkAll_->setObjectName("chkAll");
  place(chkAll_, desktop::ChkAllPlacement);

  label1_ = new QLabel(Text(m::Label1Caption), client);
  label1_->setObjectName("Label1");
  label1_->adjustSize();
  label1_->move(Px(l.label1Left), Px(desktop::LabelTop));

  label2_ = new QLabel(Text(m::Label2Caption), client);
  label2_->setObjectName("Label2");
  label2_->adjustSize();
  label2_->move(Px(l.label2Left), Px(desktop::LabelTop));

  tree_ = new ListControl(client);
  tree_->setObjectName("tree");
  place(tree_, l.tree);

  filters_ = new ListControl(client);
  filters_->setObjectName("filters");
  filters_->setRootIsDecorated(false);
  place(filters_, l.filters);
}

void QuorvelWindow::FollowSelection(NodeListModel* model, ListControl* view,
                                    desktop::NodeList& list) {
  // The list's enabled and visible states reach the widget through the port
  // alone; what the view follows of the list itself is its selection.
  connect(model, &NodeListModel::listStateChanged, view, [model, view, &list] {
    const QModelIndex selected = model->IndexOf(list.Selected());
    if (selected != view->currentIndex()) {
      if (selected.isValid()) {
        view->setCurrentIndex(selected);
      } else {
        view->selectionModel()->clear();
      }
    }
  });
}

template <typename F>
auto QuorvelWindow::Command(F handler) {
  return [this, handler](auto&&... args) {
    ++commandsRunning_;
    // A menu item's triggered(bool) carries an argument its handler ignores.
    if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
      handler(std::forward<decltype(args)>(args)...);
    else
      handler();
    if (--commandsRunning_ == 0 && closeWhenDone_) {
      closeWhenDone_ = false;
      close();
    }
  };
}

void QuorvelWindow::closeEvent(QCloseEvent* event) {
  if (commandsRunning_ > 0) {
    closeWhenDone_ = true;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void QuorvelWindow::ConnectEvents() {
  desktop::frmQuorvel* l = logic_;
  auto on = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, Command(handler));
  };
  on(menu_.mnuLogin, [l] { l->mnuLogin_Click(); });
  on(menu_.mnuLogout, [l] { l->mnuLogout_Click(); });
  on(menu_.mnuExport, [l] { l->mnuExport_Click(); });
  on(menu_.mnuImport, [l] { l->mnuImport_Click(); });
  on(menu_.mnuCompare, [l] { l->mnuCompare_Click(); });
  on(menu_.mnuDelete, [l] { l->mnuDelete_Click(); });
  on(menu_.mnuChange, [l] { l->mnuChange_Click(); });
  on(menu_.mnuRestore, [l] { l->mnuRestore_Click(); });
  on(menu_.mnuSelectAll, [l] { l->mnuSelectAll_Click(); });
  on(menu_.mnuDeselect, [l] { l->mnuDeselect_Click(); });
  on(menu_.mnuOtherExport, [l] { l->mnuOtherExport_Click(); });
  on(menu_.mnuOtherImport, [l] { l->mnuOtherImport_Click(); });
  on(menu_.mnuQuorvelHome, [l] { l->mnuQuorvelHome_Click(); });
  on(menu_.mnuAbout, [l] { l->mnuAbout_Click(); });
  on(menu_.mnuHelpVersionCheck, [l] { l->mnuHelpVersionCheck_Click(); });

  connect(tree_, &ListControl::nodeClicked, this, Command([this, l](const QModelIndex& index) {
            l->tree_NodeClick(treeModel_->NodeOf(index));
          }));
  // The filter list handles no click, but the node the user picks is its
  // selected node (and shows its selected image).
  connect(filters_, &ListControl::nodeClicked, this, [this, l](const QModelIndex& index) {
    l->filters().Select(filtersModel_->NodeOf(index));
  });
  connect(tree_, &ListControl::doubleClickedAnywhere, this, Command([l] { l->tree_DblClick(); }));
  connect(filters_, &ListControl::mouseDown, this,
          Command([l](int button, int shift, int x, int y) {
            l->filters_MouseDown(button, shift, x, y);
          }));
  connect(chkAll_, &QCheckBox::clicked, this,
          Command([l](bool ticked) { l->chkAll_Click(ticked ? 1 : 0); }));
  // Application nodes open as their databases arrive.
  connect(treeModel_, &QAbstractItemModel::rowsInserted, tree_, [this](const QModelIndex& parent) {
    if (parent.isValid() && !tree_->isExpanded(parent)) tree_->expand(parent);
  });
}

QWidget* QuorvelWindow::control(desktop::Control control) const {
  using desktop::Control;
  switch (control) {
    case Control::Window: return const_cast<QuorvelWindow*>(this);
    case Control::filters: return filters_;
    case Control::tree: return tree_;
    case Control::chkAll: return chkAll_;
    case Control::Label1: return label1_;
    case Control::Label2: return label2_;
    default: return nullptr;
  }
}

QAction* QuorvelWindow::MenuAction(desktop::Control control) const {
  using desktop::Control;
  switch (control) {
    case Control::mnuExport: return menu_.mnuExport;
    case Control::mnuImport: return menu_.mnuImport;
    case Control::mnuDelete: return menu_.mnuDelete;
    case Control::mnuChange: return menu_.mnuChange;
    case Control::mnuRestore: return menu_.mnuRestore;
    case Control::mnuCompare: return menu_.mnuCompare;
    default: return nullptr;
  }
}

desktop::MessageAnswer QuorvelWindow::ShowMessage(std::string_view text, std::string_view title,
                                                  desktop::MessageIcon icon,
                                                  desktop::MessageButtons buttons) {
  QMessageBox box(BoxIcon(icon), Text(title.empty() ? desktop::msg::DefaultTitle : title),
                  Text(text), BoxButtons(buttons), this);
  // The user answers with the normal pointer, even in the middle of a command.
  if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  if (busy_) QApplication::restoreOverrideCursor();
  if (buttons == desktop::MessageButtons::OK) return desktop::MessageAnswer::OK;
  return Answer(answer);
}

void QuorvelWindow::HoldInput(bool hold) {
  if (hold == inputHeld_) return;
  inputHeld_ = hold;
  if (hold) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

bool QuorvelWindow::eventFilter(QObject* watched, QEvent* event) {
  // Dialogs the held command shows (its questions) are windows of their own
  // and still take input; this window and its menus do not.
  if (inputHeld_ && IsUserInput(event->type()) && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* top = widget->window();
    if (top == this || qobject_cast<QMenu*>(top)) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool QuorvelWindow::ShowChangeDialog(
    desktop::ChangeDialogValues& values,
    const std::function<void(const desktop::ChangeDialogValues&)>& preview) {
  // Created at its first showing, then only hidden.
  if (!changeDialog_) changeDialog_ = new ChangeDialog(this);
  return changeDialog_->Show(values, preview);
}

void QuorvelWindow::SetBusy(bool busy) {
  // Idempotent: Reconnect sets the hourglass again inside a busy command, and
  // one "normal" must end it.
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

desktop::FileDialogResult QuorvelWindow::ShowSave(const desktop::FileDialogOptions& options) {
  return ShowFileDialog(this, options, true);
}

desktop::FileDialogResult QuorvelWindow::ShowOpen(const desktop::FileDialogOptions& options) {
  return ShowFileDialog(this, options, false);
}

void QuorvelWindow::ProcessEvents() {
  QCoreApplication::processEvents();
}

void QuorvelWindow::ShowProgress(std::string_view text) {
  // The status bar shows only while a command reports; it repaints at once,
  // since the command does not let the window process its events for it.
  if (text.empty()) {
    statusBar()->clearMessage();
    statusBar()->hide();
    return;
  }
  if (statusBar()->isHidden()) statusBar()->show();
  statusBar()->showMessage(Text(text));
  statusBar()->repaint();
}

QString QuorvelWindow::progressText() const {
  return statusBar()->isHidden() ? QString() : statusBar()->currentMessage();
}

void QuorvelWindow::ShowPreview(const desktop::ChangePreview& preview) {
  // Over the Change dialog, which stays open with its values.
  QWidget* over = QApplication::activeModalWidget();
  PreviewWindow window(preview, over ? over : this);
  window.exec();
}

void QuorvelWindow::ShowComparison(const desktop::ComparisonView& view) {
  ComparisonWindow window(view, this);
  window.exec();
}

void QuorvelWindow::ShowBackups(desktop::BackupsHandler& handler) {
  BackupsWindow window(handler, this);
  window.exec();
}

void QuorvelWindow::ShowAbout(std::string_view backups) {
  // A folder name is the file system's bytes, UTF-8 on any current desktop.
  AboutWindow about(generation_ == essbase::Generation::V5 ? 5 : 6,
                    QString::fromUtf8(backups.data(), static_cast<qsizetype>(backups.size())),
                    this);
  about.exec();
}

void QuorvelWindow::OpenUrl(std::string_view address) {
  qt::OpenUrl(std::string(address));
}

std::optional<std::string> QuorvelWindow::HttpGet(std::string_view url) {
  return qt::HttpGet(std::string(url));
}

void QuorvelWindow::PopupOtherMenu() {
  menu_.mnuOther->exec(QCursor::pos());
}

bool QuorvelWindow::SetEnabled(desktop::Control control, bool enabled) {
  if (QAction* action = MenuAction(control)) {
    action->setEnabled(enabled);
    return true;
  }
  QWidget* widget = this->control(control);
  if (!widget) return false;
  widget->setEnabled(enabled);
  return true;
}

bool QuorvelWindow::SetVisible(desktop::Control control, bool visible) {
  if (QAction* action = MenuAction(control)) {
    action->setVisible(visible);
    return true;
  }
  QWidget* widget = this->control(control);
  if (!widget || widget == this) return false;
  widget->setVisible(visible);
  return true;
}

template <typename F>
bool QuorvelWindow::Place(desktop::Control control, int twips, F f) {
  QWidget* widget = this->control(control);
  if (!widget || widget == this) return false;
  QRect r = widget->geometry();
  if (!f(r, Px(twips))) return false;
  widget->setGeometry(r);
  return true;
}

bool QuorvelWindow::SetWidth(desktop::Control control, int twips) {
  return Place(control, twips, [](QRect& r, int px) {
    if (px < 0) return false;
    r.setWidth(px);
    return true;
  });
}

bool QuorvelWindow::SetHeight(desktop::Control control, int twips) {
  return Place(control, twips, [](QRect& r, int px) {
    if (px < 0) return false;
    r.setHeight(px);
    return true;
  });
}

bool QuorvelWindow::SetLeft(desktop::Control control, int twips) {
  return Place(control, twips, [](QRect& r, int px) {
    r.moveLeft(px);
    return true;
  });
}

bool QuorvelWindow::SetTop(desktop::Control control, int twips) {
  return Place(control, twips, [](QRect& r, int px) {
    r.moveTop(px);
    return true;
  });
}

void QuorvelWindow::SetCaption(desktop::Control control, std::string_view caption) {
  const QString text = Text(caption);
  if (control == desktop::Control::Window) {
    setWindowTitle(text);
  } else if (control == desktop::Control::chkAll) {
    chkAll_->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(this->control(control))) {
    label->setText(text);
    label->adjustSize();
  }
}

void QuorvelWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!logic_) return;
  const QSize outer = frameGeometry().size();
  const double dpi = ScreenDpi();
  logic_->Form_Resize(PixelsToTwips(outer.width(), dpi), PixelsToTwips(outer.height(), dpi));
}

}  // namespace quorvel::qt
