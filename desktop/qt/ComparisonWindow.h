#pragma once
// Compare with File's window: the comparison of the selected database with
// a file, and Close. Shows; writes nothing.
#include <QDialog>

#include "desktop/ToolkitPort.h"

namespace quorvel::qt {

class ComparisonTable;

class ComparisonWindow : public QDialog {
  Q_OBJECT
 public:
  ComparisonWindow(const desktop::ComparisonView& view, QWidget* parent = nullptr);
  ComparisonTable* comparison() const { return comparison_; }

 private:
  ComparisonTable* comparison_ = nullptr;
};

}  // namespace quorvel::qt
