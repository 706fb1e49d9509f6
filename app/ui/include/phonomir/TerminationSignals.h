// Turns SIGINT and SIGTERM into a Qt signal on the UI thread, so that they end the program the
// way Exit does (windows closed, settings written). The handler only writes a byte to a pipe.
#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace phonomir {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace phonomir
