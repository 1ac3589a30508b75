#pragma once
// frmQuorvel on screen: a humble view that implements the logic's toolkit
// port and forwards every event to the logic it is attached to. main puts
// the two together: the window first, then the logic with the window as its
// port, then Attach.
#include <QMainWindow>
#include <memory>

#include "desktop/ToolkitPort.h"
#include "desktop/frmQuorvel.h"
#include "desktop/qt/LoginPrompt.h"
#include "desktop/qt/MainMenu.h"
#include "essbase/Generation.h"

class QCheckBox;
class QLabel;

namespace quorvel::qt {

class ChangeDialog;
class ListControl;
class NodeListModel;

class QuorvelWindow : public QMainWindow, public desktop::ToolkitPort {
  Q_OBJECT
 public:
  explicit QuorvelWindow(essbase::Generation generation,
                QWidget* parent = nullptr);
  ~QuorvelWindow() override;

  // Shows the logic's lists, passes the window's events to it and loads it.
  // Once only. The logic may end before the window: its lists then empty the
  // views.
  void Attach(desktop::frmQuorvel& logic);

  desktop::frmQuorvel& logic() { return *logic_; }
  const MainMenu& menus() const { return menu_; }
  ListControl* tree() const { return tree_; }
  ListControl* filters() const { return filters_; }
  NodeListModel* treeModel() const { return treeModel_; }
  NodeListModel* filtersModel() const { return filtersModel_; }
  QCheckBox* chkAll() const { return chkAll_; }
  QWidget* control(desktop::Control control) const;
  // The Change dialog, once shown (it is created at its first showing).
  ChangeDialog* changeDialog() const { return changeDialog_; }
  bool inputHeld() const { return inputHeld_; }
  // A close was asked for while a command ran; the window closes after it.
  bool closeWaiting() const { return closeWhenDone_; }
  // The progress text of the command at work, empty when none.
  QString progressText() const;
  // Whether the library took the window's login prompt.
  bool loginPromptRegistered() const { return promptRegistered_; }

  // ToolkitPort
  desktop::MessageAnswer ShowMessage(std::string_view text, std::string_view title,
                                     desktop::MessageIcon icon,
                                     desktop::MessageButtons buttons) override;
  void SetBusy(bool busy) override;
  void HoldInput(bool hold) override;
  bool ShowChangeDialog(
      desktop::ChangeDialogValues& values,
      const std::function<void(const desktop::ChangeDialogValues&)>& preview) override;
  desktop::FileDialogResult ShowSave(const desktop::FileDialogOptions& options) override;
  desktop::FileDialogResult ShowOpen(const desktop::FileDialogOptions& options) override;
  void ProcessEvents() override;
  void ShowProgress(std::string_view text) override;
  void ShowPreview(const desktop::ChangePreview& preview) override;
  void ShowComparison(const desktop::ComparisonView& view) override;
  void ShowBackups(desktop::BackupsHandler& handler) override;
  void ShowAbout(std::string_view backups) override;
  void OpenUrl(std::string_view address) override;
  std::optional<std::string> HttpGet(std::string_view url) override;
  void PopupOtherMenu() override;
  bool SetEnabled(desktop::Control control, bool enabled) override;
  bool SetVisible(desktop::Control control, bool visible) override;
  bool SetWidth(desktop::Control control, int twips) override;
  bool SetHeight(desktop::Control control, int twips) override;
  bool SetLeft(desktop::Control control, int twips) override;
  bool SetTop(desktop::Control control, int twips) override;
  void SetCaption(desktop::Control control, std::string_view caption) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // While a command runs, closing waits for it: closing now would end the
  // event loops under its questions, and a retry question would come back
  // unanswered, as Cancel.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ConnectEvents();
  // A handler of the logic wrapped so that the window knows a command runs.
  template <typename F>
  auto Command(F handler);
  void FollowSelection(NodeListModel* model, ListControl* view, desktop::NodeList& list);
  QAction* MenuAction(desktop::Control control) const;
  // Applies f to the control's geometry in pixels; false when there is no
  // such control or the value is refused.
  template <typename F>
  bool Place(desktop::Control control, int twips, F f);

  essbase::Generation generation_;
  MainMenu menu_;
  QCheckBox* chkAll_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  ListControl* tree_ = nullptr;
  ListControl* filters_ = nullptr;
  NodeListModel* treeModel_ = nullptr;
  NodeListModel* filtersModel_ = nullptr;
  LoginPrompt prompt_;
  bool promptRegistered_ = false;
  bool busy_ = false;
  bool inputHeld_ = false;
  int commandsRunning_ = 0;  // handlers of the logic at work (nested ones too)
  bool closeWhenDone_ = false;
  ChangeDialog* changeDialog_ = nullptr;
  desktop::frmQuorvel* logic_ = nullptr;
};

}  // namespace quorvel::qt
