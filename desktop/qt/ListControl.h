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

 signals:
  // A click on a node, or a key that moved to another node.
  void nodeClicked(const QModelIndex& index);
  // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt;
  // x, y in twips within the control.
  void mouseDown(int button, int shift, int x, int y);
  // A double click anywhere in the control, on a node or not.
  void doubleClickedAnywhere();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quorvel::qt
