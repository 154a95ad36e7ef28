#include "devsim/pty.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace morla::devsim {

namespace {
QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}
}  // namespace

Pty::~Pty() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool Pty::open(QString* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = systemError("grantpt/unlockpt");
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        *error = systemError("open slave");
        return false;
    }
    // No echo, no line editing, no translation: every byte passes as it is, both ways.
    if (!makeRaw(slave_) || !makeRaw(master_)) {
        *error = systemError("tcsetattr");
        return false;
    }
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        *error = systemError("fcntl");
        return false;
    }
    return true;
}

QByteArray Pty::read() {
    QByteArray out;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // EAGAIN: all read
    }
    return out;
}

qsizetype Pty::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    return done;
}

bool LinkPort(const QString& folder, int port, const QString& slavePath, QString* linkPath,
              QString* error) {
    *linkPath = QDir(folder).filePath(QStringLiteral("COM%1").arg(port));
    const QByteArray path = QFile::encodeName(*linkPath);
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        *error = systemError("unlink old port link");
        return false;
    }
    if (::symlink(QFile::encodeName(slavePath).constData(), path.constData()) != 0) {
        *error = systemError("symlink");
        return false;
    }
    return true;
}

void UnlinkPort(const QString& linkPath, const QString& slavePath) {
    if (QFileInfo(linkPath).symLinkTarget() == slavePath)
        ::unlink(QFile::encodeName(linkPath).constData());
}

}  // namespace morla::devsim
