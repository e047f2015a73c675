#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C in a terminal) end the event
// loop like closing the main window does, so the shut-down sequence still runs
// and the settings are written. The handler only writes to a pipe; the event
// loop reads it.

#include <QObject>

namespace vistrel {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    int m_readFd = -1;
};

} // namespace vistrel
