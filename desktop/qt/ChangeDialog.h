#pragma once
// frmQuorvelChange: the modal Change dialog (txtSearch, cboAccess, cmdOK
// "Continue", cmdPreview, cmdCancel). A humble view: it shows the values the
// logic keeps and hands back what the user did.
#include <QDialog>
#include <functional>

#include "desktop/ToolkitPort.h"

class QComboBox;
class QLineEdit;

namespace quorvel::qt {

class ChangeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ChangeDialog(QWidget* parent = nullptr);

  // Modal showing; true when Continue ended it. `values` takes the user's
  // edits whichever way the dialog closed, as the controls keep them.
  bool Show(desktop::ChangeDialogValues& values,
            const std::function<void(const desktop::ChangeDialogValues&)>& preview);

  QLineEdit* txtSearch() const { return txtSearch_; }
  QComboBox* cboAccess() const { return cboAccess_; }

 private:
  desktop::ChangeDialogValues Values() const;

  QLineEdit* txtSearch_ = nullptr;
  QComboBox* cboAccess_ = nullptr;
  std::function<void(const desktop::ChangeDialogValues&)> preview_;
};

}  // namespace quorvel::qt
