#include "desktop/qt/BackupsWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "desktop/Messages.h"
#include "desktop/qt/ComparisonTable.h"

namespace quorvel::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The column that names a backup's file, which stays with it across a new listing.
constexpr int FileColumn = 6;

}  // namespace

BackupsWindow::BackupsWindow(desktop::BackupsHandler& handler, QWidget* parent)
    : QDialog(parent), handler_(handler) {
  namespace m = desktop::msg;
  setObjectName("frmBackups");
  setWindowTitle(Text(m::BackupsTitle));
  setSizeGripEnabled(true);

  model_ = new QStandardItemModel(this);
  QStringList headings;
  for (std::string_view c : m::BackupsColumns) headings << Text(c);
  model_->setHorizontalHeaderLabels(headings);
  backups_ = new QTableView(this);
  backups_->setObjectName("tblBackups");
  backups_->setModel(model_);
  backups_->setSelectionBehavior(QAbstractItemView::SelectRows);
  backups_->setSelectionMode(QAbstractItemView::SingleSelection);
  backups_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  backups_->setWordWrap(false);
  backups_->verticalHeader()->hide();
  backups_->horizontalHeader()->setStretchLastSection(true);
  // A folder name is the file system's bytes, UTF-8 on any current desktop.
  const std::string folder = handler_.folder();
  auto* backupsLabel = new QLabel(QString::fromUtf8(m::BackupsFolderLabel(folder).c_str()), this);
  backupsLabel->setObjectName("lblBackups");
  backupsLabel->setBuddy(backups_);

  comparison_ = new ComparisonTable(this);
  auto* changesLabel = new QLabel(Text(m::RestoreChangesLabel), this);
  changesLabel->setObjectName("lblChanges");
  changesLabel->setBuddy(comparison_->table());

  auto* top = new QWidget(this);
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(backupsLabel);
  topLayout->addWidget(backups_, 1);
  auto* bottom = new QWidget(this);
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  bottomLayout->addWidget(changesLabel);
  bottomLayout->addWidget(comparison_, 1);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(top);
  split->addWidget(bottom);
  split->setChildrenCollapsible(false);

  auto* buttons = new QDialogButtonBox(this);
  restore_ = buttons->addButton(Text(m::BackupsRestore), QDialogButtonBox::ActionRole);
  restore_->setObjectName("cmdRestore");
  auto* other = buttons->addButton(Text(m::BackupsOther), QDialogButtonBox::ActionRole);
  other->setObjectName("cmdOther");
  auto* open = buttons->addButton(Text(m::BackupsOpenFolder), QDialogButtonBox::ActionRole);
  open->setObjectName("cmdOpenFolder");
  auto* close = buttons->addButton(Text(m::BackupsClose), QDialogButtonBox::RejectRole);
  close->setObjectName("cmdClose");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(restore_, &QPushButton::clicked, this, [this] {
    const int row = Selected();
    if (row < 0) return;
    const QString file = SelectedFile();
    handler_.Restore(static_cast<size_t>(row));
    Fill(file);
    Compare();
  });
  connect(other, &QPushButton::clicked, this, [this] {
    const QString file = SelectedFile();
    handler_.RestoreOther();
    Fill(file);
    Compare();
  });
  connect(open, &QPushButton::clicked, this, [this] { handler_.OpenFolder(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addWidget(buttons);
  resize(900, 600);
  split->setSizes({220, 380});

  Fill({});
  connect(backups_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { Compare(); });
  Compare();
}

void BackupsWindow::Fill(const QString& file) {
  model_->removeRows(0, model_->rowCount());
  const std::vector<desktop::BackupEntry>& entries = handler_.backups();
  int select = entries.empty() ? -1 : 0;
  for (const desktop::BackupEntry& entry : entries) {
    QList<QStandardItem*> row;
    for (const std::string& cell : entry.cells) {
      auto* item = new QStandardItem(Text(cell));
      item->setToolTip(item->text());
      row << item;
    }
    if (row.size() > FileColumn && row[FileColumn]->text() == file) select = model_->rowCount();
    model_->appendRow(row);
  }
  for (int c = 0; c + 1 < model_->columnCount(); ++c) backups_->resizeColumnToContents(c);
  // Selecting fires the comparison once the window follows the selection.
  QSignalBlocker quiet(backups_->selectionModel());
  if (select >= 0) backups_->selectRow(select);
}

int BackupsWindow::Selected() const {
  const QModelIndexList rows = backups_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

QString BackupsWindow::SelectedFile() const {
  const int row = Selected();
  return row < 0 ? QString() : model_->index(row, FileColumn).data().toString();
}

void BackupsWindow::Compare() {
  const int row = Selected();
  const auto& entries = handler_.backups();
  restore_->setEnabled(row >= 0 && entries.at(static_cast<size_t>(row)).readable);
  if (row < 0) return comparison_->Show({});
  comparison_->Show(handler_.WhatRestoreChanges(static_cast<size_t>(row)));
}

}  // namespace quorvel::qt
