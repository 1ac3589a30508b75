#include "desktop/qt/HttpGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace quorvel::qt {

std::optional<std::string> HttpGet(const std::string& url, int timeoutMs) {
  QNetworkAccessManager manager;
  QNetworkRequest request(QUrl(QString::fromStdString(url)));
  request.setTransferTimeout(timeoutMs);
  QNetworkReply* reply = manager.get(request);

  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // Belt and braces: the transfer time-out only counts idle time.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, reply, &QNetworkReply::abort);
  guard.start(timeoutMs);
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

  std::optional<std::string> body;
  const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
  if (answered) {
    const QByteArray bytes = reply->readAll();
    body = std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  reply->deleteLater();
  return body;
}

}  // namespace quorvel::qt
