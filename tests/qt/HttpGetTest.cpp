#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include "desktop/qt/HttpGet.h"

namespace quorvel::qt {
namespace {

// A one-page web server on the loopback interface, served by the event loop
// that HttpGet runs while it waits.
class LocalServer {
 public:
  // reply: the raw response; empty = accept and never answer.
  explicit LocalServer(QByteArray reply) : reply_(std::move(reply)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          request_ += socket->readAll();
          if (!request_.contains("\r\n\r\n") || reply_.isEmpty()) return;
          socket->write(reply_);
          socket->disconnectFromHost();
        });
      }
    });
  }
  std::string Url(const char* path = "/quorvel/version.txt") const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }
  const QByteArray& request() const { return request_; }

 private:
  QTcpServer server_;
  QByteArray reply_;
  QByteArray request_;
};

QByteArray Response(const char* status, const QByteArray& body) {
  return QByteArray("HTTP/1.1 ") + status +
         "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(HttpGet, BodyComesBackByteForByte) {
  LocalServer server(Response("200 OK", "1.6.1458\r\n"));
  const auto body = HttpGet(server.Url());
  ASSERT_TRUE(body.has_value());
  EXPECT_EQ(*body, "1.6.1458\r\n");
  EXPECT_TRUE(server.request().startsWith("GET /quorvel/version.txt HTTP/1.1"));
}

TEST(HttpGet, ErrorPageIsTextToo) {
  LocalServer server(Response("404 Not Found", "<h1>Not Found</h1>"));
  const auto body = HttpGet(server.Url());
  ASSERT_TRUE(body.has_value());
  EXPECT_EQ(*body, "<h1>Not Found</h1>");
}

TEST(HttpGet, EmptyBodyIsAnEmptyTextNotNothing) {
  LocalServer server(Response("200 OK", ""));
  const auto body = HttpGet(server.Url());
  ASSERT_TRUE(body.has_value());
  EXPECT_EQ(*body, "");
}

TEST(HttpGet, RefusedConnectionGivesNothing) {
  quint16 port;
  {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    port = closed.serverPort();
  }
  EXPECT_FALSE(HttpGet("http://127.0.0.1:" + std::to_string(port) + "/v.txt").has_value());
}

TEST(HttpGet, SilentServerGivesNothingAfterTimeOut) {
  LocalServer server{QByteArray()};
  EXPECT_FALSE(HttpGet(server.Url(), 300).has_value());
}

}  // namespace
}  // namespace quorvel::qt
