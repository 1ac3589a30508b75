#include "desktop/qt/ListControl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "desktop/qt/Twips.h"

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
  // The column fills the list and grows past it for a long name; the list
  // then scrolls sideways instead of cutting the name.
  header()->setStretchLastSection(true);
  setTextElideMode(Qt::ElideNone);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(this, &QAbstractItemView::clicked, this, &ListControl::nodeClicked);
}

void ListControl::setModel(QAbstractItemModel* m) {
  if (model()) disconnect(model(), nullptr, this, nullptr);
  QTreeView::setModel(m);
  MeasureAll();
  if (!m) return;
  connect(m, &QAbstractItemModel::rowsInserted, this, &ListControl::Measure);
  connect(m, &QAbstractItemModel::modelReset, this, &ListControl::MeasureAll);
  connect(
      m, &QAbstractItemModel::dataChanged, this,
      [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
        if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
          Measure(topLeft.parent(), topLeft.row(), bottomRight.row());
      });
}

void ListControl::MeasureAll() {
  widest_ = 0;
  extra_ = -1;
  if (model()) Measure({}, 0, model()->rowCount() - 1);
  ApplyWidth();
}

void ListControl::Measure(const QModelIndex& parent, int first, int last) {
  QAbstractItemModel* m = model();
  if (!m || first > last) return;
  int depth = rootIsDecorated() ? 1 : 0;
  for (QModelIndex p = parent; p.isValid(); p = p.parent()) ++depth;
  const QFontMetrics metrics = fontMetrics();
  for (int row = first; row <= last; ++row) {
    const QModelIndex index = m->index(row, 0, parent);
    const int text = metrics.horizontalAdvance(index.data().toString());
    if (extra_ < 0) extra_ = std::max(0, sizeHintForIndex(index).width() - text);
    widest_ = std::max(widest_, depth * indentation() + extra_ + text);
    if (m->rowCount(index) > 0) Measure(index, 0, m->rowCount(index) - 1);
  }
  ApplyWidth();
}

void ListControl::ApplyWidth() {
  if (header()->minimumSectionSize() != widest_) header()->setMinimumSectionSize(widest_);
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

QItemSelectionModel::SelectionFlags ListControl::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
  if (!index.isValid() && event) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove: return QItemSelectionModel::NoUpdate;
      default: break;
    }
  }
  return QTreeView::selectionCommand(index, event);
}

void ListControl::keyPressEvent(QKeyEvent* event) {
  const QModelIndex before = currentIndex();
  QTreeView::keyPressEvent(event);
  const QModelIndex after = currentIndex();
  if (after.isValid() && after != before) emit nodeClicked(after);
}

}  // namespace quorvel::qt
