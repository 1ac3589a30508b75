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

#include "essbase/library/ByteOrder.h"
#include "essbase/ServerAddress.h"

namespace quorvel::qt {

LoginDialog::LoginDialog(QWidget* parent, std::size_t serverBuffer) : QDialog(parent) {
  setObjectName("frmLogin");
  setWindowTitle("Essbase Login");
  setModal(true);
  const bool urls = serverBuffer > ESB_NAME_BUFFER;
  server_ = new QLineEdit(this);
  server_->setObjectName("txtServer");
  server_->setMaxLength(static_cast<int>(urls ? serverBuffer - 1 : ESB_NAME_WIDTH));
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
  if (urls) {
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
  setMinimumWidth(urls ? 460 : 320);
}

void WriteBack(const QString& text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  const QByteArray bytes = text.toLatin1();
  const std::size_t n = std::min(size - 1, static_cast<std::size_t>(bytes.size()));
  std::memcpy(buffer, bytes.constData(), n);
  buffer[n] = '\0';
}

QString ReadIn(const char* buffer, std::size_t size) {
  if (!buffer) return {};
  std::size_t n = essbase::GetFixed(buffer, size).size();
  while (n > 0 && buffer[n - 1] == ' ') --n;
  return QString::fromLatin1(buffer, static_cast<qsizetype>(n));
}

bool LoginPrompt::RegisterWith(essbase::EssbaseApi& api) {
  serverBuffer_ = std::max<std::size_t>(api.LoginPromptServerBuffer(), ESB_NAME_BUFFER);
  return api.SetLoginPrompt(&LoginPrompt::Ask, this);
}

int32_t LoginPrompt::Ask(void* self, char* server, char* user, char* password) {
  auto* prompt = static_cast<LoginPrompt*>(self);
  QWidget* parent = prompt ? prompt->parent_ : nullptr;
  // The prompt runs inside a command that set the hourglass; the user must
  // see a normal pointer while typing.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);

  const std::size_t serverBuffer = prompt ? prompt->serverBuffer_ : ESB_NAME_BUFFER;
  QPointer<LoginDialog> dialog = new LoginDialog(parent, serverBuffer);
  dialog->server()->setText(ReadIn(server, ESB_NAME_BUFFER));
  dialog->user()->setText(ReadIn(user, ESB_NAME_BUFFER));
  dialog->password()->setText(ReadIn(password, ESB_PASSWORD_BUFFER));
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
    WriteBack(dialog->server()->text(), server, serverBuffer);
    WriteBack(dialog->user()->text(), user, ESB_NAME_BUFFER);
    WriteBack(dialog->password()->text(), password, ESB_PASSWORD_BUFFER);
  }
  delete dialog;
  if (busy) QApplication::restoreOverrideCursor();
  return ok ? 0 : 1;
}

}  // namespace quorvel::qt
