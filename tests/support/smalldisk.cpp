#include "support/smalldisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/filebytes.h"

namespace morla::test {

namespace {
const char* kFiller = ".filler";
}  // namespace

SmallDisk::SmallDisk(const QString& folder, int bytes) : folder_(folder) {
    // Keep what the folder holds, mount over it, and put the files back on the small disk.
    aside_ = folder + QStringLiteral(".aside");
    if (!copyTree(folder_, aside_)) {
        reason_ = QStringLiteral("cannot copy %1 aside").arg(folder_);
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        reason_ = QStringLiteral("cannot mount a small tmpfs (%1); needs root")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
    if (!copyTree(aside_, folder_)) reason_ = QStringLiteral("cannot copy the files back");
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    QDir(aside_).removeRecursively();
}

bool SmallDisk::fill(qint64 leave) {
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(kFiller));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return false;
    const QByteArray chunk(4096, 'f');
    while (::write(fd, chunk.constData(), chunk.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    // Give back what was asked for.
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool ok = full && (leave == 0 || ::ftruncate(fd, qMax<off_t>(0, size - leave)) == 0);
    ::close(fd);
    return ok;
}

qint64 SmallDisk::available() const {
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(folder_).constData(), &st) != 0) return -1;
    return qint64(st.f_bavail) * qint64(st.f_frsize);
}

}  // namespace morla::test
