#include "devsim/faults.h"

namespace morla::devsim {

bool AddFault(const QString& text, Faults* faults, QString* error) {
    const QString name = text.section(':', 0, 0);
    const bool hasArgument = text.contains(':');
    if (name == QLatin1String("silent") && !hasArgument) {
        faults->silent = true;
        return true;
    }
    if (name == QLatin1String("keepstar") && !hasArgument) {
        faults->keepOnStar = true;
        return true;
    }
    if (name == QLatin1String("stuck")) {
        bool okAt = false, okWrite = true;
        const int at = text.section(':', 1, 1).toInt(&okAt);
        const QString write = text.section(':', 2);
        const int w = write.isEmpty() ? 0 : write.toInt(&okWrite);
        if (!okAt || !okWrite || at < 1 || w < 0 || text.count(':') > 2) {
            *error = QStringLiteral("fault %1: expected stuck:N or stuck:N:W").arg(text);
            return false;
        }
        faults->stuck.append({at, w});
        return true;
    }
    bool ok = false;
    const int n = text.section(':', 1).toInt(&ok);
    // delay may be 0 ms; every count is from 1.
    const int least = name == QLatin1String("delay") ? 0 : 1;
    if (!hasArgument || !ok || n < least) {
        *error = QStringLiteral(
                     "fault %1: expected silent, keepstar, drop:N, corrupt:N, delay:MS, "
                     "badsum:N, cut:N or stuck:N[:W]")
                     .arg(text);
        return false;
    }
    if (name == QLatin1String("drop"))
        faults->drop << n;
    else if (name == QLatin1String("corrupt"))
        faults->corrupt << n;
    else if (name == QLatin1String("delay"))
        faults->delayMs += n;
    else if (name == QLatin1String("badsum"))
        faults->badSumReplies = n;
    else if (name == QLatin1String("cut"))
        faults->cutAfter = n;
    else {
        *error = QStringLiteral("unknown fault %1").arg(name);
        return false;
    }
    return true;
}

}  // namespace morla::devsim
