#include "desktop/qt/AboutWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/Messages.h"
#include "desktop/qt/Images.h"

#ifndef QUORVEL_VERSION
#define QUORVEL_VERSION "unknown"
#endif

namespace quorvel::qt {

AboutWindow::AboutWindow(int generation, const QString& backups, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(QString::fromUtf8(desktop::msg::AboutCaption));
  setModal(true);

  auto* image = new QLabel(this);
  image->setObjectName("Image1");
  image->setPixmap(ListImage(4, 48));
  image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  auto* info = new QPlainTextEdit(this);
  info->setObjectName("txtInfo");
  info->setReadOnly(true);
  info->setPlainText(QString("Quorvel %1\nEssbase client API generation %2\n\n"
                             "Browse the applications and databases of one Essbase server "
                             "and manage their security filters: change access, delete, "
                             "export and import.\n\n%3")
                         .arg(QUORVEL_VERSION)
                         .arg(generation == 5 ? "5.0.2" : "6")
                         .arg(backups));

  auto* close = new QPushButton(QString::fromUtf8(desktop::msg::AboutClose), this);
  close->setObjectName("Command1");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(image);
  top->addWidget(info, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  resize(440, 260);
}

}  // namespace quorvel::qt
