#pragma once
// The line between copies of the program. The running copy listens on a local
// socket; a later copy sends it one request (its words, one per line, then an
// empty line) and reads back an exit status and the text to print. The request
// "32863" asks the running copy to show its main window.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;

namespace vistrel {

struct ChannelReply {
    int status = 0;
    QString output; // for stdout
    QString error;  // for stderr
};

class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<ChannelReply(const QStringList& request)>;

    InstanceServer(const QString& socketPath, Handler handler, QObject* parent = nullptr);
    bool listening() const;

private:
    void OnNewConnection();

    QLocalServer* m_server; // child of this
    Handler m_handler;
};

// Sends a request to the running copy; nullopt when none answers in time.
std::optional<ChannelReply> SendToRunningCopy(const QString& socketPath, const QStringList& request,
                                              int timeoutMs);

} // namespace vistrel
