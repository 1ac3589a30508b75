#pragma once
// The Backups window: the backups folder's backups in a table, newest first,
// and below it what restoring the selected one would change on the server
// now. Restore, Restore Other Backup..., Open Folder and Close; every action
// goes to the logic's handler.
#include <QDialog>

#include "desktop/ToolkitPort.h"

class QPushButton;
class QStandardItemModel;
class QTableView;

namespace quorvel::qt {

class ComparisonTable;

class BackupsWindow : public QDialog {
  Q_OBJECT
 public:
  BackupsWindow(desktop::BackupsHandler& handler, QWidget* parent = nullptr);

  QTableView* backups() const { return backups_; }
  ComparisonTable* comparison() const { return comparison_; }
  QPushButton* restoreButton() const { return restore_; }

 private:
  // Lists the handler's backups again, selecting the one in `file` when it
  // is still there, else the newest.
  void Fill(const QString& file);
  void Compare();
  int Selected() const;
  QString SelectedFile() const;

  desktop::BackupsHandler& handler_;
  QTableView* backups_ = nullptr;
  QStandardItemModel* model_ = nullptr;
  ComparisonTable* comparison_ = nullptr;
  QPushButton* restore_ = nullptr;
};

}  // namespace quorvel::qt
