#include "support/clirun.h"

#include <QElapsedTimer>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace morla::test {

Cli::Cli(const QString& folder) : folder_(folder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(v));
    proc_.setProcessEnvironment(env);
}

void Cli::start(QStringList args) {
    proc_.start(qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla-cli"),
                args << QStringLiteral("--folder") << folder_);
    proc_.waitForStarted(5000);
}

bool Cli::waitForError(const QString& text, int ms) {
    QElapsedTimer t;
    t.start();
    while (!err_.contains(text) && t.elapsed() < ms) {
        proc_.waitForReadyRead(100);
        err_ += QString::fromUtf8(proc_.readAllStandardError());
    }
    return err_.contains(text);
}

void Cli::interrupt() {
#ifdef Q_OS_UNIX
    ::kill(pid_t(proc_.processId()), SIGINT);
#endif
}

CliRun Cli::finish(int ms) {
    CliRun r;
    if (!proc_.waitForFinished(ms)) proc_.kill();
    r.exit = proc_.exitStatus() == QProcess::NormalExit ? proc_.exitCode() : -1;
    r.out = QString::fromUtf8(proc_.readAllStandardOutput());
    r.err = err_ + QString::fromUtf8(proc_.readAllStandardError());
    return r;
}

}  // namespace morla::test
