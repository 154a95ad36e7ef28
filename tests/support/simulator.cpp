#include "support/simulator.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace morla::test {

bool Simulator::start(const QStringList& args) {
    log_ = folder_ + QStringLiteral("/sim.log");
    memory_ = memoryFile();
    proc_.start(
        qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_devsim"),
        args + QStringList{"--link", folder_, "--port", "1", "--log", log_, "--memory", memory_});
    if (!proc_.waitForStarted(5000) || !proc_.waitForReadyRead(5000)) return false;
    return QFileInfo(folder_ + QStringLiteral("/COM1")).isSymLink();
}

void Simulator::stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.terminate();
    proc_.waitForFinished(5000);
}

void Simulator::kill() {
    proc_.kill();
    proc_.waitForFinished(5000);
}

QStringList Simulator::logLines() const {
    QFile f(log_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n');
}

QStringList Simulator::messages() const {
    QStringList out;
    static const QRegularExpression re(QStringLiteral("message \"(.*)\"$"));
    for (const QString& l : logLines())
        if (auto m = re.match(l); m.hasMatch()) out << m.captured(1);
    return out;
}

QString Simulator::received() const {
    QString out;
    for (const QString& l : logLines())
        if (int at = l.indexOf(QStringLiteral(" << ")); at >= 0) out += l.mid(at + 4);
    return out;
}

QString Simulator::memory() const {
    QFile f(memory_);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}

}  // namespace morla::test
