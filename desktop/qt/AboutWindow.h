#pragma once
// frmAbout: the modal About window (picture Image1, text txtInfo, button
// Command1 "Close").
#include <QDialog>

namespace quorvel::qt {

class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  // generation: the API generation this program was built for (6 or 5).
  AboutWindow(int generation, QWidget* parent = nullptr);
};

}  // namespace quorvel::qt
