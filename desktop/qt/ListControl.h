#pragma once
// The tree-view control of both lists: reports the events the logic handles
// in the form it expects them (node clicks from mouse and keyboard, mouse
// button presses with their button number and position in twips).
#include <QTreeView>

namespace quorvel::qt {

class ListControl : public QTreeView {
  Q_OBJECT
 public:
  explicit ListControl(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;

 signals:
  // A click on a node, or a key that moved to another node.
  void nodeClicked(const QModelIndex& index);
  // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt;
  // x, y in twips within the control.
  void mouseDown(int button, int shift, int x, int y);
  // A double click anywhere in the control, on a node or not.
  void doubleClickedAnywhere();

 protected:
  // Names are shown whole: the column is as wide as the widest name, measured
  // as rows arrive (a content-sized header would re-measure the whole list at
  // every tick).
  void Measure(const QModelIndex& parent, int first, int last);
  void MeasureAll();
  void ApplyWidth();

  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // A click that misses every node keeps the selected node, as the list's
  // selected node stays put in the logic.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;

 private:
  int widest_ = 0;
  int extra_ = -1;  // icon, check box and margins around the text; -1 = unknown
};

}  // namespace quorvel::qt
