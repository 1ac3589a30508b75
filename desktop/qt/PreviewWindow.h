#pragma once
// The preview of a change: every row it would give the new access, in a
// resizable table, with the count the change would report. Shows; writes
// nothing.
#include <QDialog>

#include "desktop/ToolkitPort.h"

class QTableView;

namespace quorvel::qt {

class PreviewWindow : public QDialog {
  Q_OBJECT
 public:
  PreviewWindow(const desktop::ChangePreview& preview, QWidget* parent = nullptr);
  QTableView* table() const { return table_; }

 private:
  QTableView* table_ = nullptr;
};

}  // namespace quorvel::qt
