#include "desktop/qt/WholeCheckBox.h"

#include <QProxyStyle>
#include <QStyleOption>

namespace quorvel::qt {

namespace {

// The click rectangle is also the rectangle the accessibility bridge reports.
class WholeClickRect final : public QProxyStyle {
 public:
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget) const override {
    if (element == SE_CheckBoxClickRect && option) return option->rect;
    return QProxyStyle::subElementRect(element, option, widget);
  }
};

}  // namespace

QCheckBox* NewWholeCheckBox(const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  auto* style = new WholeClickRect;
  style->setParent(box);  // a widget does not own the style it is given
  box->setStyle(style);
  return box;
}

}  // namespace quorvel::qt
