#include "cli/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

#include "cli/context.h"
#include "cli/unitjob.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace morla::cli {

namespace {
// A terminal takes the updating line; anything else (a file, a pipe) gets whole lines, at
// most one a second per unit unless its phase changes.
constexpr qint64 kPlainLineMs = 900;

QString kindOf(const QString& text) {
    return text.section(u' ', 0, 0);
}
}  // namespace

void PrintOut(const QString& text) {
    fputs((text + u'\n').toUtf8().constData(), stdout);
    fflush(stdout);
}

void PrintErr(const QString& text) {
    fputs((text + u'\n').toUtf8().constData(), stderr);
    fflush(stderr);
}

Progress::Progress(bool quiet) : quiet_(quiet), terminal_(isatty(fileno(stderr)) != 0) {}

Progress::~Progress() {
    erase();
}

void Progress::set(const QString& who, const QString& text) {
    if (quiet_) return;
    bool known = false;
    for (auto& s : states_)
        if (s.first == who) {
            if (s.second == text) return;
            s.second = text;
            known = true;
        }
    if (!known) states_.append({who, text});
    if (terminal_) {
        paint();
        return;
    }
    QElapsedTimer& last = printed_[who];
    const bool newKind = lastKind_.value(who) != kindOf(text);
    if (!newKind && last.isValid() && last.elapsed() < kPlainLineMs) return;
    last.start();
    lastKind_[who] = kindOf(text);
    PrintErr(who + QStringLiteral(": ") + text);
}

void Progress::remove(const QString& who) {
    states_.removeIf([&](const QPair<QString, QString>& s) { return s.first == who; });
    if (terminal_ && !quiet_) paint();
}

void Progress::line(const QString& text) {
    erase();
    PrintErr(text);
    if (terminal_ && !quiet_) paint();
}

void Progress::paint() {
    QStringList parts;
    for (const auto& s : states_) parts << s.first + QStringLiteral(": ") + s.second;
    if (parts.isEmpty()) {
        erase();
        return;
    }
    // Back to the start of the line, the states, and the rest of the line cleared.
    fputs(("\r" + parts.join(QStringLiteral(" | ")) + "\x1b[K").toUtf8().constData(), stderr);
    fflush(stderr);
    painted_ = true;
}

void Progress::erase() {
    if (!painted_) return;
    fputs("\r\x1b[K", stderr);
    fflush(stderr);
    painted_ = false;
}

QString CaptionOf(const FieldDifference& d) {
    if (!d.caption.isEmpty()) return d.caption;
    if (d.name == QStringLiteral("MorTexResCla")) return QStringLiteral("Clave");
    if (d.name == QStringLiteral("MorTexResFirm")) return QStringLiteral("FirmWare");
    return {};
}

QString DifferenceText(const FieldDifference& d, const QString& first, const QString& second) {
    const QString& caption = d.caption;
    const QString where = caption.isEmpty()
                              ? QStringLiteral("%1 (%2)").arg(d.name, d.positions)
                              : QStringLiteral("%1 (%2, %3)").arg(caption, d.name, d.positions);
    return QStringLiteral("%1: %2 %3, %4 %5").arg(where, first, d.written, second, d.readBack);
}

QJsonArray DifferencesJson(const std::vector<FieldDifference>& differences, const QString& first,
                           const QString& second) {
    QJsonArray out;
    for (const FieldDifference& d : differences)
        out.append(QJsonObject{{"caption", d.caption},
                               {"control", d.name},
                               {"positions", d.positions},
                               {first, d.written},
                               {second, d.readBack}});
    return out;
}

QString ResultToken(int exit) {
    switch (exit) {
        case kDone:
            return QStringLiteral("ok");
        case kDiffers:
            return QStringLiteral("differs");
        case kLineFailed:
            return QStringLiteral("line");
        case kBadInput:
            return QStringLiteral("input");
        default:
            return QStringLiteral("interrupted");
    }
}

QJsonObject UnitJson(const UnitResult& r) {
    return QJsonObject{{"port", r.port},
                       {"device", r.device},
                       {"model", r.model},
                       {"firmware", r.firmware},
                       {"result", ResultToken(r.exit)},
                       {"exit", r.exit},
                       {"message", r.message},
                       {"written", r.written},
                       {"differences", DifferencesJson(r.differences)},
                       {"times", QJsonObject{{"read_s", r.readSeconds},
                                             {"write_s", r.writeSeconds},
                                             {"verify_s", r.verifySeconds},
                                             {"total_s", r.totalSeconds}}}};
}

}  // namespace morla::cli
