#pragma once
// frmAbout: the modal About window (picture Image1, text txtInfo, button
// Command1 "Close").
#include <QDialog>
#include <QString>

namespace quorvel::qt {

class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  // generation: the API generation this program was built for (6 or 5).
  // backups: where the backups are and how long they are kept.
  AboutWindow(int generation, const QString& backups, QWidget* parent = nullptr);
};

}  // namespace quorvel::qt
