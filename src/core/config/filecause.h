#pragma once
// Why a file could not be read or written, in Spanish: the system's own texts ("Unknown error",
// "file to open is a directory") never reach the technician.
#include <QString>

class QFile;
class QFileDevice;

namespace morla {

// The cause of a system error number ("No hay espacio en el disco", "Permiso denegado", ...).
QString ErrnoCause(int error);
// The cause of a failed QFile operation on `path`, found from the file's error and what the
// path is now.
QString FileErrorCause(const QFileDevice& file, const QString& path);
// Why a file at `path` cannot be written now (what it is, its folder, the disk); a general
// cause when nothing shows.
QString WriteCause(const QString& path);
// What a path that is not a regular file is ("Es una carpeta", ...); empty for a regular file
// or a path that does not exist.
QString KindCause(const QString& path);

// Opens `path` to read only when it is a regular file, without ever blocking: a named pipe, a
// folder or a device node is refused at once with its cause. The path is followed as it is.
bool OpenRegularFile(QFile& file, const QString& path, QString* cause);

}  // namespace morla
