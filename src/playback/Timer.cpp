#include "playback/Timer.h"

namespace veltrona {

Timer::Timer(QObject* parent, const QString& name) : QObject(parent), timer_(this) {
    setObjectName(name);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setPeriod(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    period_ = milliseconds;
    if (period_ > 0) {
        timer_.start(period_);
    } else {
        timer_.stop();
    }
}

}  // namespace veltrona
