#pragma once

// A timer whose period is its running state: a positive period (re)starts it
// with that interval in milliseconds, 0 stops it, and setting the period it
// already has changes nothing. Precise timing. Window thread only.

#include <QObject>
#include <QTimer>

namespace veltrona {

class Timer : public QObject {
    Q_OBJECT

public:
    Timer(QObject* parent, const QString& name);

    int period() const { return period_; }
    void setPeriod(int milliseconds);

signals:
    void tick();

private:
    QTimer timer_;
    int period_ = 0;
};

}  // namespace veltrona
