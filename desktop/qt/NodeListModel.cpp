#include "desktop/qt/NodeListModel.h"

namespace quorvel::qt {

NodeListModel::NodeListModel(desktop::NodeList& list, bool checkBoxes, QObject* parent)
    : QAbstractItemModel(parent), list_(&list), checkBoxes_(checkBoxes) {
  for (int i = 1; i <= ImageCount; ++i) images_[static_cast<size_t>(i)] = ListImage(i);
  list_->SetObserver(this);
}

NodeListModel::~NodeListModel() {
  if (list_) list_->SetObserver(nullptr);
}

int NodeListModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid()) return 0;
  return static_cast<int>(index.internalId());
}

QModelIndex NodeListModel::IndexOf(int node) const {
  if (!list_ || !list_->Valid(node)) return {};
  return createIndex(list_->Row(node), 0, static_cast<quintptr>(node));
}

QModelIndex NodeListModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || !list_) return {};
  const int node = list_->Child(NodeOf(parent), row);
  if (node == 0) return {};
  return createIndex(row, 0, static_cast<quintptr>(node));
}

QModelIndex NodeListModel::parent(const QModelIndex& child) const {
  if (!list_) return {};
  return IndexOf(list_->Parent(NodeOf(child)));
}

int NodeListModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0 || !list_) return 0;
  return list_->ChildCount(NodeOf(parent));
}

int NodeListModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant NodeListModel::data(const QModelIndex& index, int role) const {
  const desktop::Node* node = list_ ? list_->At(NodeOf(index)) : nullptr;
  if (!node) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromUtf8(node->text.data(), static_cast<qsizetype>(node->text.size()));
    case Qt::DecorationRole: {
      int image = node->image;
      if (node->selectedImage != 0 && list_->Selected() == NodeOf(index))
        image = node->selectedImage;
      if (image < 1 || image > ImageCount) return {};
      return images_[static_cast<size_t>(image)];
    }
    case Qt::CheckStateRole:
      if (!checkBoxes_) return {};
      return node->checked ? Qt::Checked : Qt::Unchecked;
    default: return {};
  }
}

bool NodeListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !checkBoxes_ || !list_) return false;
  const bool checked = value.toInt() == Qt::Checked;
  return list_->SetChecked(NodeOf(index), checked);
}

Qt::ItemFlags NodeListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (checkBoxes_) f |= Qt::ItemIsUserCheckable;
  return f;
}

void NodeListModel::AboutToReset() {
  beginResetModel();
  resetting_ = true;
}

void NodeListModel::Reset() {
  if (!resetting_) beginResetModel();
  resetting_ = false;
  shownSelected_ = list_ ? list_->Selected() : 0;
  endResetModel();
}

void NodeListModel::ListGone() {
  beginResetModel();
  list_ = nullptr;
  shownSelected_ = 0;
  endResetModel();
}

void NodeListModel::AboutToAdd(int parent, int row) {
  beginInsertRows(IndexOf(parent), row, row);
}

void NodeListModel::Added(int) {
  endInsertRows();
}

void NodeListModel::Changed(int node) {
  const QModelIndex index = IndexOf(node);
  if (index.isValid()) emit dataChanged(index, index);
}

void NodeListModel::StateChanged() {
  if (!list_) return;
  // A node's picture may follow the selection (its selected image).
  const int selected = list_->Selected();
  if (selected != shownSelected_) {
    const int previous = shownSelected_;
    shownSelected_ = selected;
    Changed(previous);
    Changed(selected);
  }
  emit listStateChanged();
}

}  // namespace quorvel::qt
