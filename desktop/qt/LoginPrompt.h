#pragma once
// The login prompt the desktop program lends a simulated server's library
// (EssbaseApi::SetLoginPrompt). A real client library shows its own prompt;
// nothing here is used then.
#include <QDialog>
#include <cstddef>

#include "essbase/library/EssbaseApi.h"

class QLineEdit;

namespace quorvel::qt {

class LoginDialog : public QDialog {
  Q_OBJECT
 public:
  // serverBuffer: the bytes the answer's server may fill with its NUL; above
  // the library's own, the server may be a URL of a REST API.
  explicit LoginDialog(QWidget* parent = nullptr, std::size_t serverBuffer = ESB_NAME_BUFFER);
  QLineEdit* server() const { return server_; }
  QLineEdit* user() const { return user_; }
  QLineEdit* password() const { return password_; }

 private:
  QLineEdit* server_;
  QLineEdit* user_;
  QLineEdit* password_;
};

// Copies text into a single-byte buffer of `size` bytes, NUL-terminated and
// cut to fit; characters outside Latin-1 become '?'.
void WriteBack(const QString& text, char* buffer, std::size_t size);

// Reads a NUL-terminated single-byte buffer of at most `size` bytes, trailing
// blanks dropped (the caller pads the server field with blanks).
QString ReadIn(const char* buffer, std::size_t size);

class LoginPrompt {
 public:
  // parent: the window the dialog is shown over; may be null.
  explicit LoginPrompt(QWidget* parent) : parent_(parent) {}

  // True when the library took the prompt.
  bool RegisterWith(essbase::EssbaseApi& api);

  // The library's callback: buffers of serverBuffer (server; ESB_NAME_BUFFER
  // unless the API says more), ESB_NAME_BUFFER (user) and
  // ESB_PASSWORD_BUFFER (password) bytes, pre-filled. 0 = OK, 1 = Cancel.
  static int32_t Ask(void* self, char* server, char* user, char* password);

 private:
  QWidget* parent_;
  std::size_t serverBuffer_ = ESB_NAME_BUFFER;
};

}  // namespace quorvel::qt
