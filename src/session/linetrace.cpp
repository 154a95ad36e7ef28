#include "session/linetrace.h"

#include <QDateTime>
#include <QSaveFile>
#include <algorithm>
#include <limits>

#include "core/config/filecause.h"

namespace morla {

LineTrace::LineTrace(int capacity) : ring_(size_t(capacity > 0 ? capacity : 1)) {}

void LineTrace::add(Direction direction, const QByteArray& bytes, std::int64_t ms) {
    const int cap = capacity();
    for (char b : bytes) {
        const Entry e{ms, direction, static_cast<unsigned char>(b)};
        if (count_ < cap) {
            ring_[size_t((head_ + count_) % cap)] = e;
            ++count_;
        } else {
            ring_[size_t(head_)] = e;
            head_ = (head_ + 1) % cap;
        }
        ++added_;
    }
}

void LineTrace::clear() {
    head_ = 0;
    count_ = 0;
}

const LineTrace::Entry& LineTrace::at(int i) const {
    return ring_[size_t((head_ + i) % capacity())];
}

bool LineTrace::continues(const Entry& previous, const Entry& next, int runLength) const {
    return next.direction == previous.direction && runLength < kBytesPerLine &&
           next.ms - previous.ms <= kPauseMs;
}

QString LineTrace::FormatLine(const Entry* first, int count) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(first[0].ms);
    QString hex, text;
    for (int i = 0; i < count; ++i) {
        const unsigned char b = first[i].byte;
        hex += QStringLiteral("%1 ").arg(b, 2, 16, QChar('0')).toUpper();
        text += b >= 0x20 && b < 0x7F ? QChar(b) : QChar('.');
    }
    const QString arrow = first[0].direction == Direction::Out ? QStringLiteral("PC -> equipo")
                                                               : QStringLiteral("equipo -> PC");
    return QStringLiteral("%1  %2  %3 %4")
        .arg(t.toString(QStringLiteral("HH:mm:ss.zzz")), arrow)
        .arg(hex, -3 * kBytesPerLine)
        .arg(text);
}

std::int64_t LineTrace::scan(std::int64_t from, std::int64_t now, QStringList* out) const {
    std::int64_t pos = std::max(from, oldest());
    Entry run[kBytesPerLine];
    while (pos < added_) {
        int n = 0;
        std::int64_t next = pos;
        run[n++] = at(int(next++ - oldest()));
        while (next < added_ && continues(run[n - 1], at(int(next - oldest())), n))
            run[n++] = at(int(next++ - oldest()));
        // A run that reaches the newest character may still grow, unless full or paused.
        const bool closed = next < added_ || n == kBytesPerLine || now - run[n - 1].ms > kPauseMs;
        if (!closed) break;
        out->append(FormatLine(run, n));
        pos = next;
    }
    return pos;
}

QStringList LineTrace::lines() const {
    QStringList out;
    scan(oldest(), std::numeric_limits<std::int64_t>::max() / 2, &out);
    return out;
}

std::int64_t LineTrace::closedLines(std::int64_t from, std::int64_t now, QStringList* out) const {
    return scan(from, now, out);
}

bool LineTrace::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error) *error = FileErrorCause(file, path);
        return false;
    }
    for (const QString& line : lines()) file.write((line + QLatin1Char('\n')).toUtf8());
    if (!file.commit()) {
        if (error) *error = FileErrorCause(file, path);
        return false;
    }
    return true;
}

}  // namespace morla
