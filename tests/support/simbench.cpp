#include "support/simbench.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace morla::test {

SimDevice::SimDevice(const QString& folder)
    : folder_(folder),
      log_(folder + QStringLiteral("/sim.log")),
      memory_(folder + QStringLiteral("/sim.mem")) {}

SimDevice::~SimDevice() {
    stop();
}

bool SimDevice::start(const QStringList& args) {
    proc_.start(
        qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_devsim"),
        args + QStringList{"--link", folder_, "--port", "1", "--log", log_, "--memory", memory_});
    if (!proc_.waitForStarted(5000) || !proc_.waitForReadyRead(5000)) return false;
    return QFileInfo(folder_ + QStringLiteral("/COM1")).isSymLink();
}

void SimDevice::stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.terminate();
    proc_.waitForFinished(5000);
}

void SimDevice::kill() {
    proc_.kill();
    proc_.waitForFinished(5000);
}

QStringList SimDevice::logLines() const {
    QFile f(log_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n');
}

QStringList SimDevice::messages() const {
    QStringList out;
    static const QRegularExpression re(QStringLiteral("message \"(.*)\"$"));
    for (const QString& l : logLines())
        if (auto m = re.match(l); m.hasMatch()) out << m.captured(1);
    return out;
}

QString SimDevice::outcomeOf(const QString& message) const {
    const QStringList lines = logLines();
    const QString marker = QStringLiteral("message \"%1\"").arg(message);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines[i].endsWith(marker)) continue;
        // The line after the message says what became of it.
        for (qsizetype j = i + 1; j < lines.size(); ++j) {
            if (lines[j].contains(QStringLiteral(" << ")) ||
                lines[j].contains(QStringLiteral(" >> ")))
                continue;
            const qsizetype at = lines[j].indexOf(QStringLiteral(": "));
            return lines[j].mid(at < 0 ? 0 : at + 2);
        }
        return {};
    }
    return {};
}

QString SimDevice::received() const {
    QString out;
    for (const QString& l : logLines())
        if (int at = l.indexOf(QStringLiteral(" << ")); at >= 0) out += l.mid(at + 4);
    return out;
}

QString SimDevice::memory() const {
    QFile f(memory_);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}

bool SimBench::start(const QStringList& simulatorArgs) {
    if (!sim.start(simulatorArgs)) return false;
    f.load();
    return true;
}

}  // namespace morla::test
