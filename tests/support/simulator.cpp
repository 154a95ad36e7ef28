#include "support/simulator.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "gui/device/verify.h"

namespace morla::test {

bool Simulator::start(const QStringList& args) {
    log_ = folder_ + QStringLiteral("/%1.log").arg(base());
    memory_ = memoryFile();
    proc_.start(qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_devsim"),
                args + QStringList{"--link", folder_, "--port", QString::number(port_), "--log",
                                   log_, "--memory", memory_});
    if (!proc_.waitForStarted(5000) || !proc_.waitForReadyRead(5000)) return false;
    return QFileInfo(folder_ + QStringLiteral("/COM%1").arg(port_)).isSymLink();
}

bool Simulator::start(const QStringList& args, const QString& memoryDigits) {
    QFile f(memoryFile());
    if (!f.open(QIODevice::WriteOnly) || f.write(memoryDigits.toLatin1()) != memoryDigits.size() ||
        !f.flush())
        return false;
    f.close();
    return start(args);
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

QString Simulator::outcomeOf(const QString& message) const {
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

QString Simulator::received() const {
    QString out;
    for (const QString& l : logLines())
        if (int at = l.indexOf(QStringLiteral(" << ")); at >= 0) out += l.mid(at + 4);
    return out;
}

QString Simulator::memory() const {
    QFile f(memory_);
    return f.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(f.readAll()).simplified().remove(QLatin1Char(' '))
               : QString();
}

bool Bench::read() {
    f.msgs.clear();
    p.main->MorFraCom03->click();
    return QTest::qWaitFor([&] { return p.main->MorTexEst->text() == QStringLiteral("Morla"); },
                           10000) &&
           f.msgs.shown.isEmpty();
}

QString Bench::outcome(const QString& expected) {
    if (!QTest::qWaitFor([&] { return !sim.outcomeOf(expected).isEmpty(); }, 10000))
        return QStringLiteral("not taken");
    const QString outcome = sim.outcomeOf(expected);
    return outcome.left(outcome.indexOf(QStringLiteral(" (")));
}

QString Bench::send(const QString& number, const QString& value, const QString& expected,
                    const QString& index) {
    p.s.CommandNumber = number;
    p.s.CommandValue = value;
    p.s.CommandIndex = index;
    p.main->mnuEnviar->trigger();
    return Fire(p.main->TimerPID) ? outcome(expected) : QStringLiteral("not sent");
}

QString Bench::sendFrom(const QString& control, const QString& expected) {
    QWidget* w = p.main->findChild<QWidget*>(control);
    if (!w || !show()) return QStringLiteral("no control");
    // On the box itself: a check box takes clicks only on its box and caption.
    const QPoint at(6, w->height() / 2);
    if (qobject_cast<QLineEdit*>(w)) {
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    } else {
        QTest::mousePress(w, Qt::RightButton, {}, at);
        QTest::mouseRelease(w, Qt::RightButton, {}, at);
    }
    if (!p.main->mnuComando->isVisible()) return QStringLiteral("no menu");
    p.main->mnuEnviar->trigger();
    p.main->mnuComando->hide();
    return Fire(p.main->TimerPID) ? outcome(expected) : QStringLiteral("not sent");
}

QString Bench::changeKey(const QString& newKey, const QString& expected) {
    if (!show()) return QStringLiteral("no window");
    QTest::mouseDClick(p.main->MorTexResCla, Qt::LeftButton);
    auto* form = p.main->findChild<QWidget*>(QStringLiteral("morforCamCla"));
    if (!form || !form->isVisible()) return QStringLiteral("no form");
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("MorTextCanCka")), newKey);
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("morCmbCamCla")),
                      Qt::LeftButton);
    return Fire(p.main->TimerPID) ? outcome(expected) : QStringLiteral("not sent");
}

bool Bench::show() {
    p.main->show();
    return QTest::qWaitForWindowExposed(p.main.get());
}

// The waits end as soon as their condition holds; they are long for a loaded machine.
bool FinishVerification(Bench& b) {
    WriteVerifier& v = VerifierOf(b.p);
    if (!QTest::qWaitFor([&] { return v.settle->isActive() || !v.busy(); }, 20000)) return false;
    if (v.settle->isActive()) Fire(v.settle);
    return QTest::qWaitFor([&] { return !v.busy(); }, 20000);
}

QString WriteAndVerify(Bench& b) {
    const int before = b.sim.messages().size();
    b.p.main->MorFraCom04->click();
    if (!QTest::qWaitFor([&] { return b.sim.messages().size() > before; }, 20000)) return {};
    if (!Fire(b.p.main->TimerPID)) return {};
    if (!FinishVerification(b)) return {};
    return b.p.main->sendStatus->text();
}

}  // namespace morla::test
