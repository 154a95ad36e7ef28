#include "core/config/filecause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace morla {

QString ErrnoCause(int error) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return QStringLiteral("No hay espacio en el disco");
        case EROFS:
            return QStringLiteral("El disco es de solo lectura");
        case EACCES:
        case EPERM:
            return QStringLiteral("Permiso denegado");
        case ENOENT:
            return QStringLiteral("No existe");
        case EISDIR:
            return QStringLiteral("Es una carpeta");
        case ENOTDIR:
            return QStringLiteral("Una parte de la ruta no es una carpeta");
        case EEXIST:
            return QStringLiteral("Ya existe");
        case EIO:
            return QStringLiteral("Error de lectura o escritura en el disco");
        case ENAMETOOLONG:
            return QStringLiteral("El nombre es demasiado largo");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("Hay demasiados archivos abiertos");
        case EFBIG:
            return QStringLiteral("El archivo es demasiado grande");
#ifdef ELOOP
        case ELOOP:
            return QStringLiteral("Hay demasiados enlaces en la ruta");
#endif
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return QStringLiteral("El archivo está en uso");
        case ENXIO:
        case ENODEV:
            return QStringLiteral("El dispositivo no existe");
        default:
            // The number lets someone look it up; the system's own text may be in English.
            return QStringLiteral("Error del sistema número %1").arg(error);
    }
}

QString KindCause(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return QStringLiteral("Es una carpeta");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("Es una tubería con nombre, no un archivo");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("Es un dispositivo, no un archivo");
    if (S_ISSOCK(st.st_mode)) return QStringLiteral("Es un socket, no un archivo");
    return QStringLiteral("No es un archivo común");
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) return {};
    if (info.isDir()) return QStringLiteral("Es una carpeta");
    return QStringLiteral("No es un archivo común");
#endif
}

QString WriteCause(const QString& path) {
    const QFileInfo info(path);
    if (const QString kind = KindCause(path); !kind.isEmpty()) return kind;
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) return QStringLiteral("La carpeta no existe");
#ifdef Q_OS_UNIX
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) == 0) {
        if (disk.f_flag & ST_RDONLY) return ErrnoCause(EROFS);
        if (disk.f_bavail == 0) return ErrnoCause(ENOSPC);
    }
    if (info.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return QStringLiteral("El archivo es de solo lectura");
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("No hay permiso para escribir en la carpeta");
#else
    if (info.exists() && !info.isWritable()) return QStringLiteral("El archivo es de solo lectura");
#endif
    return QStringLiteral("No se pudo escribir en el disco");
}

QString FileErrorCause(const QFileDevice& file, const QString& path) {
    switch (file.error()) {
        case QFileDevice::NoError:
            return {};
        case QFileDevice::OpenError:
            if (const QString kind = KindCause(path); !kind.isEmpty()) return kind;
            if (!(file.openMode() & QIODevice::WriteOnly) && !QFileInfo::exists(path))
                return ErrnoCause(ENOENT);
            if (file.openMode() & QIODevice::WriteOnly) return WriteCause(path);
            return ErrnoCause(EACCES);
        case QFileDevice::PermissionsError:
            return ErrnoCause(EACCES);
        case QFileDevice::ReadError:
            return QStringLiteral("Error al leer del disco");
        case QFileDevice::WriteError:
        case QFileDevice::ResizeError:
        case QFileDevice::RenameError:
        case QFileDevice::CopyError:
        case QFileDevice::RemoveError:
            return WriteCause(path);
        default:
            return QStringLiteral("Error del sistema de archivos");
    }
}

bool OpenRegularFile(QFile& file, const QString& path, QString* cause) {
    const auto refuse = [cause](const QString& why) {
        if (cause) *cause = why;
        return false;
    };
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return refuse(ErrnoCause(errno));
    if (!S_ISREG(st.st_mode)) return refuse(KindCause(path));
    // Not blocking even if the name was swapped for a pipe since: the kind is checked again on
    // what was opened.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuse(ErrnoCause(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(QStringLiteral("No es un archivo común"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(QStringLiteral("Error del sistema de archivos"));
    }
    return true;
#else
    if (!QFileInfo::exists(path)) return refuse(ErrnoCause(ENOENT));
    if (const QString kind = KindCause(path); !kind.isEmpty()) return refuse(kind);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return refuse(FileErrorCause(file, path));
    return true;
#endif
}

}  // namespace morla
