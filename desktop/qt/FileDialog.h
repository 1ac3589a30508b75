#pragma once
// The common file dialog cdForm on Qt's file dialog.
#include <QString>

#include "desktop/ToolkitPort.h"

class QWidget;

namespace quorvel::qt {

// "Text (*.txt)|*.txt|All Files (*.*)|*.*" -> "Text (*.txt);;All Files (*.*)".
// A description that does not show its pattern gets it appended; patterns
// separated by ';' become blank-separated.
QString QtNameFilters(const std::string& filter);

desktop::FileDialogResult ShowFileDialog(QWidget* parent, const desktop::FileDialogOptions& options,
                                         bool save);

}  // namespace quorvel::qt
