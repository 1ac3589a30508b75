#include "desktop/qt/ComparisonWindow.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/Messages.h"
#include "desktop/qt/ComparisonTable.h"

namespace quorvel::qt {

ComparisonWindow::ComparisonWindow(const desktop::ComparisonView& view, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmCompare");
  setWindowTitle(QString::fromUtf8(view.title.data(), static_cast<qsizetype>(view.title.size())));
  setSizeGripEnabled(true);

  comparison_ = new ComparisonTable(this);
  comparison_->Show(view);

  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QString::fromUtf8(desktop::msg::ComparisonClose),
                                   QDialogButtonBox::RejectRole);
  close->setObjectName("cmdClose");
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(comparison_, 1);
  layout->addWidget(buttons);
  resize(820, 460);
}

}  // namespace quorvel::qt
