#include "desktop/qt/LoginPrompt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "essbase/library/esbapin.h"
#include "essbase/ServerAddress.h"

namespace quorvel::qt {

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("frmLogin");
  setWindowTitle("Essbase Login");
  setModal(true);
  server_ = new QLineEdit(this);
  server_->setObjectName("txtServer");
  server_->setMaxLength(static_cast<int>(essbase::MaxServerUrl));
  user_ = new QLineEdit(this);
  user_->setObjectName("txtUser");
  user_->setMaxLength(ESB_NAME_WIDTH);
  password_ = new QLineEdit(this);
  password_->setObjectName("txtPassword");
  password_->setMaxLength(ESB_PASSWORD_WIDTH);
  password_->setEchoMode(QLineEdit::Password);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow("&Server:", server_);
  {
    // A name stays within the library's field; only an address may be longer.
    auto* hint = new QLabel(
        "A server name of at most 30 characters, or the address of its REST API, "
        "such as https://essbase.example.com:9001/essbase",
        this);
    hint->setObjectName("lblServerHint");
    hint->setWordWrap(true);
    form->addRow(hint);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    connect(server_, &QLineEdit::textChanged, this, [ok](const QString& text) {
      ok->setEnabled(essbase::IsServerUrl(text.toStdString()) || text.size() <= ESB_NAME_WIDTH);
    });
  }
  form->addRow("&User:", user_);
  form->addRow("&Password:", password_);
  form->addRow(buttons);
  setMinimumWidth(460);
}

int32_t LoginPrompt::Ask(std::string& server, std::string& user, std::string& password) {
  // The prompt runs inside a command that set the hourglass; the user must
  // see a normal pointer while typing.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);

  QPointer<LoginDialog> dialog = new LoginDialog(parent_);
  dialog->server()->setText(QString::fromStdString(server).trimmed());
  dialog->user()->setText(QString::fromStdString(user));
  dialog->password()->setText(QString::fromStdString(password));
  // The first empty field gets the focus, so a pre-filled prompt is one Enter away.
  if (dialog->server()->text().isEmpty()) {
    dialog->server()->setFocus();
  } else if (dialog->user()->text().isEmpty()) {
    dialog->user()->setFocus();
  } else {
    dialog->password()->setFocus();
  }
  const bool ok = dialog->exec() == QDialog::Accepted;
  if (ok && dialog) {
    server = dialog->server()->text().toStdString();
    user = dialog->user()->text().toStdString();
    password = dialog->password()->text().toStdString();
  }
  delete dialog;
  if (busy) QApplication::restoreOverrideCursor();
  return ok ? 0 : 1;
}

}  // namespace quorvel::qt
