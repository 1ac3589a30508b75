#pragma once
// The login prompt the desktop program lends a simulated server's library
// (through the session), and shows itself to log in again to a server
// reached over REST. A real client library shows its own prompt.
#include <QDialog>
#include <cstdint>
#include <string>


class QLineEdit;

namespace quorvel::qt {

class LoginDialog : public QDialog {
  Q_OBJECT
 public:
  // The server may be a name or the URL of a server's REST API.
  explicit LoginDialog(QWidget* parent = nullptr);
  QLineEdit* server() const { return server_; }
  QLineEdit* user() const { return user_; }
  QLineEdit* password() const { return password_; }

 private:
  QLineEdit* server_;
  QLineEdit* user_;
  QLineEdit* password_;
};

class LoginPrompt {
 public:
  // parent: the window the dialog is shown over; may be null.
  explicit LoginPrompt(QWidget* parent) : parent_(parent) {}

  // Shows the dialog with the offered server, user and password; OK writes
  // the answers back. 0 = OK, 1 = Cancel.
  int32_t Ask(std::string& server, std::string& user, std::string& password);

 private:
  QWidget* parent_;
};

}  // namespace quorvel::qt
