#include "desktop/qt/PreviewWindow.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "desktop/Messages.h"

namespace quorvel::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads the preview's rows as they are; a change's thousands of rows need
// no copy into items.
class PreviewModel : public QAbstractTableModel {
 public:
  PreviewModel(const desktop::ChangePreview& preview, QObject* parent)
      : QAbstractTableModel(parent), rows_(preview.rows) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(desktop::msg::PreviewColumns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const desktop::PreviewRow& r = rows_.at(static_cast<size_t>(index.row()));
    switch (index.column()) {
      case 0: return Text(r.application);
      case 1: return Text(r.database);
      case 2: return Text(r.filter);
      case 3: return Text(r.text);
      case 4: return Text(r.accessNow);
      case 5: return Text(r.accessAfter);
      default: return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return Text(desktop::msg::PreviewColumns.at(static_cast<size_t>(section)));
  }

 private:
  const std::vector<desktop::PreviewRow> rows_;
};

}  // namespace

PreviewWindow::PreviewWindow(const desktop::ChangePreview& preview, QWidget* parent)
    : QDialog(parent) {
  namespace m = desktop::msg;
  setObjectName("frmPreview");
  setWindowTitle(Text(m::PreviewTitle));
  setSizeGripEnabled(true);

  auto* summary = new QLabel(Text(preview.summary), this);
  summary->setObjectName("lblSummary");
  table_ = new QTableView(this);
  table_->setObjectName("tblRows");
  table_->setModel(new PreviewModel(preview, table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  for (int c : {0, 1, 2, 4, 5}) table_->resizeColumnToContents(c);

  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(Text(m::PreviewClose), QDialogButtonBox::RejectRole);
  close->setObjectName("cmdClose");
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  resize(760, 420);
}

}  // namespace quorvel::qt
