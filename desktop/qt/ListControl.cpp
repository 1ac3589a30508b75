#include "ListControl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "Twips.h"

namespace quorvel::qt {

namespace {

int ButtonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

int ShiftMask(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= 1;
  if (modifiers & Qt::ControlModifier) mask |= 2;
  if (modifiers & Qt::AltModifier) mask |= 4;
  return mask;
}

}  // namespace

ListControl::ListControl(QWidget* parent) : QTreeView(parent) {
  header()->hide();
  // Names are shown whole: the column grows with its widest visible name and
  // the list scrolls sideways instead of cutting it.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  setTextElideMode(Qt::ElideNone);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(this, &QAbstractItemView::clicked, this, &ListControl::nodeClicked);
}

void ListControl::mousePressEvent(QMouseEvent* event) {
  const double dpi = ScreenDpi();
  const QPoint at = event->position().toPoint();
  emit mouseDown(ButtonNumber(event->button()), ShiftMask(event->modifiers()),
                 PixelsToTwips(at.x(), dpi), PixelsToTwips(at.y(), dpi));
  // The right button only opens the context menu; it does not move the selection.
  if (event->button() == Qt::RightButton) return;
  QTreeView::mousePressEvent(event);
}

void ListControl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClickedAnywhere();
  QTreeView::mouseDoubleClickEvent(event);
}

void ListControl::keyPressEvent(QKeyEvent* event) {
  const QModelIndex before = currentIndex();
  QTreeView::keyPressEvent(event);
  const QModelIndex after = currentIndex();
  if (after.isValid() && after != before) emit nodeClicked(after);
}

}  // namespace quorvel::qt
