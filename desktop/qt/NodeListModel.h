#pragma once
// Shows a desktop::NodeList in a QTreeView: node text, the shared images and,
// for the filter list, check boxes. The list is the only record: the model
// reads its shape from it and keeps nothing of its own but which node it
// last showed selected.
#include <QAbstractItemModel>
#include <QPixmap>
#include <array>

#include "desktop/NodeList.h"
#include "desktop/qt/Images.h"

namespace quorvel::qt {

class NodeListModel : public QAbstractItemModel, public desktop::NodeListObserver {
  Q_OBJECT
 public:
  NodeListModel(desktop::NodeList& list, bool checkBoxes, QObject* parent = nullptr);
  ~NodeListModel() override;

  // Node index (from 1) of a model index, 0 for none; and back.
  int NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(int node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // NodeListObserver
  void AboutToReset() override;
  void AboutToAdd(int parent, int row) override;
  void ListGone() override;
  void Reset() override;
  void Added(int node) override;
  void Changed(int node) override;
  void StateChanged() override;

 signals:
  // The list's selection, visibility, enablement or width changed.
  void listStateChanged();

 private:
  desktop::NodeList* list_;  // null once the list is gone
  bool checkBoxes_;
  bool resetting_ = false;
  int shownSelected_ = 0;
  std::array<QPixmap, ImageCount + 1> images_;
};

}  // namespace quorvel::qt
