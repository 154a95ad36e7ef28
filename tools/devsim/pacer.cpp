#include "devsim/pacer.h"

namespace morla::devsim {

Pacer::Pacer(Writer writer, qint64 characterNs, QObject* parent)
    : QObject(parent), writer_(std::move(writer)), characterNs_(characterNs) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Pacer::pump);
}

void Pacer::enqueue(const QByteArray& characters) {
    if (queue_.isEmpty()) {
        // After a quiet spell the line is free at once; no credit is kept for the time unused.
        const qint64 now = clock_.nsecsElapsed();
        if (nextDueNs_ < now) nextDueNs_ = now;
    }
    queue_ += characters;
    if (!timer_.isActive()) pump();
}

void Pacer::pump() {
    const qint64 now = clock_.nsecsElapsed();
    // A timer that wakes late is made up for by writing what fell due in one go.
    int count = 0;
    while (count < queue_.size() && nextDueNs_ <= now) {
        ++count;
        nextDueNs_ += characterNs_;
    }
    if (count > 0) {
        const QByteArray batch = queue_.left(count);
        queue_.remove(0, count);
        writer_(batch);
    }
    if (!queue_.isEmpty()) timer_.start(int((nextDueNs_ - now + 999999) / 1000000));
}

}  // namespace morla::devsim
