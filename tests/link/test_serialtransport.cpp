// Opening real devices: the cause a technician reads when a port cannot be opened.
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "session/serial/serialtransport.h"

using namespace morla;

namespace {
// A pseudo-terminal whose slave side stands for a serial device.
struct Pty {
    int master = -1;
    QString slave;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }
};

bool link(const QString& folder, int port, const QString& target) {
    return QFile::link(target, folder + QStringLiteral("/COM%1").arg(port));
}
}  // namespace

class TestSerialTransport : public QObject {
    Q_OBJECT
  private slots:
    // A link to nothing, and a link to a regular file.
    void openFailureCause() {
        for (const auto& [file, cause] :
             {std::pair{false, "no existe"}, std::pair{true, "no es un puerto serie"}}) {
            QTemporaryDir dir;
            QString target = dir.filePath(QStringLiteral("target"));
            if (file) {
                QFile f(target);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("not a port");
            }
            QVERIFY(link(dir.path(), 2, target));
            SerialTransport port;
            QSignalSpy lineErrors(&port, &Transport::lineError);
            QString error;
            QVERIFY(!port.open(2, dir.path(), &error));
            QCOMPARE(error, QString::fromUtf8(cause));
            QCOMPARE(port.deviceName(), target);
            QCOMPARE(port.portText(),
                     dir.filePath(QStringLiteral("COM2")) + QStringLiteral(" → ") + target);
            // The failure is said once, by the caller; no "Error en DCB" besides it.
            QCOMPARE(lineErrors.count(), 0);
            QVERIFY(!port.isOpen());
        }
    }

    // Every open resolves the link again, also after a close, and an open port sees its link
    // turn elsewhere. A device that goes, or a link removed, is run through the program in the
    // end-to-end tests.
    void reopenFollowsTheLink() {
        Pty first, second;
        QTemporaryDir dir;
        const QString com3 = dir.filePath(QStringLiteral("COM3"));
        QVERIFY(link(dir.path(), 3, first.slave));
        SerialTransport port;
        QString error;
        QVERIFY2(port.open(3, dir.path(), &error), qPrintable(error));
        QVERIFY(port.lostCause().isEmpty());
        QVERIFY(!port.portMoved());
        SerialTransport other;  // a second open of the same device
        QVERIFY(!other.open(3, dir.path(), &error));
        QCOMPARE(error, QStringLiteral("está en uso"));

        // The link now names another terminal: the open port is on the old one.
        QVERIFY(QFile::remove(com3));
        QVERIFY(link(dir.path(), 3, second.slave));
        QVERIFY(port.portMoved());
        port.close();
        QVERIFY2(port.open(3, dir.path(), &error), qPrintable(error));
        QCOMPARE(port.deviceName(), second.slave);
    }

    void deviceWithoutPermission() {
        // Needs a user that lacks the permission: as root, a child process drops to nobody.
        if (::geteuid() != 0) QSKIP("needs root to run the check as a user without permission");
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) QSKIP("no user 'nobody' on this machine");
        Pty pty;
        QVERIFY(::chmod(pty.slave.toLocal8Bit().constData(), 0600) == 0);
        QVERIFY(::chown(pty.slave.toLocal8Bit().constData(), 0, 0) == 0);
        const QString cause = SerialOpenCause(pty.slave, QSerialPort::PermissionError);
        QCOMPARE(cause, QStringLiteral("está en uso"));  // root may open it
        int fds[2];
        QVERIFY(::pipe(fds) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(2);
            const QByteArray text =
                SerialOpenCause(pty.slave, QSerialPort::PermissionError).toUtf8();
            if (::write(fds[1], text.constData(), size_t(text.size())) < 0) ::_exit(3);
            ::_exit(0);
        }
        ::close(fds[1]);
        char buffer[128] = {};
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(QString::fromUtf8(buffer, int(n)), QStringLiteral("no hay permiso"));
    }
};

QTEST_MAIN(TestSerialTransport)
#include "test_serialtransport.moc"
