#pragma once
// A check box whose whole placed rectangle takes the click and is what a
// screen reader reports, as the layout places it: a plain QCheckBox answers
// only over its box and caption.
#include <QCheckBox>

namespace quorvel::qt {

QCheckBox* NewWholeCheckBox(const QString& caption, QWidget* parent);

}  // namespace quorvel::qt
