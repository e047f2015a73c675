#pragma once
// Shared by the Qt-side tests: waiting on the event loop, answering modal
// windows, and reading files.

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace vistrel::test {

// Runs the event loop (deferred deletes included) until done() or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Hands the next modal window that opens to answer (which must close it),
// from inside its own event loop.
inline void AnswerNextModal(std::function<void(QWidget&)> answer)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(*modal);
        }
    });
    poll->start(5);
}

// Runs action, closing with OK every message box it shows meanwhile; returns
// the text of the last one ("" when there was none).
inline QString AcceptingMessageBoxes(const std::function<void()>& action)
{
    QString message;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answer.start();
    action();
    return message;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vistrel::test
