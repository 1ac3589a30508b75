#pragma once
// Answers the next modal dialog or popup menu that a call under test opens.
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace quorvel::qt::testing {

// Polls until a modal widget is up, then hands it to answer (which must close
// it). Call before the code that opens the dialog.
// Polling stops when `context` is destroyed.
inline void AnswerNextModal(std::function<void(QWidget*)> answer, QObject* context = qApp,
                            int triesLeft = 200) {
  QTimer::singleShot(10, context, [answer = std::move(answer), context, triesLeft] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else if (triesLeft > 0) {
      AnswerNextModal(answer, context, triesLeft - 1);
    }
  });
}

inline void AnswerNextPopup(std::function<void(QMenu*)> answer, QObject* context = qApp,
                            int triesLeft = 200) {
  QTimer::singleShot(10, context, [answer = std::move(answer), context, triesLeft] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      answer(menu);
    } else if (triesLeft > 0) {
      AnswerNextPopup(answer, context, triesLeft - 1);
    }
  });
}

}  // namespace quorvel::qt::testing
