#include "desktop/qt/NodeListModel.h"

namespace quorvel::qt {

NodeListModel::NodeListModel(desktop::NodeList& list, bool checkBoxes, QObject* parent)
    : QAbstractItemModel(parent), list_(list), checkBoxes_(checkBoxes) {
  for (int i = 1; i <= ImageCount; ++i) images_[static_cast<size_t>(i)] = ListImage(i);
  Rebuild();
  list_.SetObserver(this);
}

NodeListModel::~NodeListModel() {
  list_.SetObserver(nullptr);
}

void NodeListModel::Rebuild() {
  top_.clear();
  children_.assign(1, {});
  row_.assign(1, 0);
  for (int node = 1; node <= list_.Count(); ++node) {
    children_.emplace_back();
    row_.push_back(0);
    const int parent = list_.Parent(node);
    std::vector<int>& siblings = parent > 0 && parent < node ? children_[parent] : top_;
    row_[node] = static_cast<int>(siblings.size());
    siblings.push_back(node);
  }
}

const std::vector<int>& NodeListModel::ChildrenOf(int node) const {
  return node == 0 ? top_ : children_[static_cast<size_t>(node)];
}

int NodeListModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid()) return 0;
  return static_cast<int>(index.internalId());
}

QModelIndex NodeListModel::IndexOf(int node) const {
  if (node < 1 || node >= static_cast<int>(row_.size())) return {};
  return createIndex(row_[node], 0, static_cast<quintptr>(node));
}

QModelIndex NodeListModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const int parentNode = NodeOf(parent);
  if (parentNode >= static_cast<int>(children_.size())) return {};
  const std::vector<int>& kids = ChildrenOf(parentNode);
  if (row >= static_cast<int>(kids.size())) return {};
  return createIndex(row, 0, static_cast<quintptr>(kids[static_cast<size_t>(row)]));
}

QModelIndex NodeListModel::parent(const QModelIndex& child) const {
  const int node = NodeOf(child);
  if (node < 1 || node >= static_cast<int>(row_.size())) return {};
  return IndexOf(list_.Parent(node));
}

int NodeListModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const int node = NodeOf(parent);
  if (node >= static_cast<int>(children_.size())) return 0;
  return static_cast<int>(ChildrenOf(node).size());
}

int NodeListModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant NodeListModel::data(const QModelIndex& index, int role) const {
  const desktop::Node* node = list_.At(NodeOf(index));
  if (!node) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromLatin1(node->text.data(), static_cast<qsizetype>(node->text.size()));
    case Qt::DecorationRole: {
      int image = node->image;
      if (node->selectedImage != 0 && list_.Selected() == NodeOf(index))
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
  if (role != Qt::CheckStateRole || !checkBoxes_) return false;
  const bool checked = value.toInt() == Qt::Checked;
  return list_.SetChecked(NodeOf(index), checked);
}

Qt::ItemFlags NodeListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (checkBoxes_) f |= Qt::ItemIsUserCheckable;
  return f;
}

void NodeListModel::Reset() {
  beginResetModel();
  shownSelected_ = list_.Selected();
  Rebuild();
  endResetModel();
}

void NodeListModel::Added(int node) {
  if (node != static_cast<int>(row_.size())) {
    // Out of step with the list (a node we never heard of): start over.
    Reset();
    return;
  }
  const int parent = list_.Parent(node);
  const int parentNode = parent > 0 && parent < node ? parent : 0;
  const int row = static_cast<int>(ChildrenOf(parentNode).size());
  beginInsertRows(IndexOf(parentNode), row, row);
  children_.emplace_back();
  row_.push_back(row);
  (parentNode ? children_[static_cast<size_t>(parentNode)] : top_).push_back(node);
  endInsertRows();
}

void NodeListModel::Changed(int node) {
  const QModelIndex index = IndexOf(node);
  if (index.isValid()) emit dataChanged(index, index);
}

void NodeListModel::StateChanged() {
  // A node's picture may follow the selection (its selected image).
  const int selected = list_.Selected();
  if (selected != shownSelected_) {
    const int previous = shownSelected_;
    shownSelected_ = selected;
    Changed(previous);
    Changed(selected);
  }
  emit listStateChanged();
}

}  // namespace quorvel::qt
