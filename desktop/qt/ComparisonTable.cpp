#include "desktop/qt/ComparisonTable.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "desktop/Messages.h"

namespace quorvel::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int DiffersRole = Qt::UserRole;

}  // namespace

// Reads the view's lines as they are: a large comparison needs no copy
// into items.
class ComparisonModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void Reset(desktop::ComparisonView view) {
    beginResetModel();
    view_ = std::move(view);
    endResetModel();
  }
  // The lines of the filters that are the same, asked for once.
  void AddUnchanged() {
    if (!view_.unchanged) return;
    std::vector<desktop::ComparisonLine> more = view_.unchanged();
    view_.unchanged = nullptr;
    if (more.empty()) return;
    const int first = static_cast<int>(view_.lines.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    for (auto& line : more) view_.lines.push_back(std::move(line));
    endInsertRows();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(view_.lines.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(view_.columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const desktop::ComparisonLine& line = view_.lines.at(static_cast<size_t>(index.row()));
    if (role == DiffersRole) return line.differs;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const size_t column = static_cast<size_t>(index.column());
    return column < line.cells.size() ? Text(line.cells[column]) : QString();
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return Text(view_.columns.at(static_cast<size_t>(section)));
  }

 private:
  desktop::ComparisonView view_;
};

ComparisonTable::ComparisonTable(QWidget* parent) : QWidget(parent) {
  summary_ = new QLabel(this);
  summary_->setObjectName("lblSummary");
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  onlyDifferences_ = new QCheckBox(Text(desktop::msg::ShowOnlyDifferences), this);
  onlyDifferences_->setObjectName("chkOnlyDifferences");

  model_ = new ComparisonModel(this);
  shown_ = new QSortFilterProxyModel(this);
  shown_->setSourceModel(model_);
  shown_->setFilterRole(DiffersRole);
  table_ = new QTableView(this);
  table_->setObjectName("tblDifferences");
  table_->setModel(shown_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  // Numbers would count the lines hidden too.
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // The summary names what the table lists.
  summary_->setBuddy(table_);
  table_->setAccessibleName(Text(desktop::msg::CompareDialogTitle));

  // A comparison lists its differences; the filters that are the same come
  // when asked for.
  onlyDifferences_->setChecked(true);
  shown_->setFilterFixedString(QStringLiteral("true"));
  connect(onlyDifferences_, &QCheckBox::toggled, this, [this](bool only) {
    if (!only) model_->AddUnchanged();
    shown_->setFilterFixedString(only ? QStringLiteral("true") : QString());
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(summary_);
  layout->addWidget(onlyDifferences_);
  layout->addWidget(table_, 1);
}

void ComparisonTable::Show(desktop::ComparisonView view) {
  summary_->setText(Text(view.summary));
  model_->Reset(std::move(view));
  if (!onlyDifferences_->isChecked()) model_->AddUnchanged();
  QHeaderView* header = table_->horizontalHeader();
  header->setStretchLastSection(false);
  // The row text takes what the other columns leave.
  const int rowColumn = model_->columnCount({}) - 3;
  for (int c = 0; c < model_->columnCount({}); ++c) {
    if (c == rowColumn) {
      header->setSectionResizeMode(c, QHeaderView::Stretch);
    } else {
      header->setSectionResizeMode(c, QHeaderView::Interactive);
      table_->resizeColumnToContents(c);
    }
  }
}

}  // namespace quorvel::qt
