#pragma once
// A comparison as a window shows it: the counts above, a check box that
// hides the filters that are the same, and the lines in a resizable table.
// Used by Compare with File's window and by the Backups window.
#include <QWidget>

#include "desktop/ToolkitPort.h"

class QCheckBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace quorvel::qt {

class ComparisonModel;

class ComparisonTable : public QWidget {
  Q_OBJECT
 public:
  explicit ComparisonTable(QWidget* parent = nullptr);
  // Replaces what is shown.
  void Show(desktop::ComparisonView view);

  QLabel* summary() const { return summary_; }
  QCheckBox* onlyDifferences() const { return onlyDifferences_; }
  QTableView* table() const { return table_; }

 private:
  QLabel* summary_ = nullptr;
  QCheckBox* onlyDifferences_ = nullptr;
  QTableView* table_ = nullptr;
  ComparisonModel* model_ = nullptr;
  QSortFilterProxyModel* shown_ = nullptr;
};

}  // namespace quorvel::qt
