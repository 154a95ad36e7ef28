#include "core/config/recordcache.h"

#include <QFileInfo>
#include <QHash>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace morla {

namespace {
// What tells one version of a file from another: its identity, size and times.
struct Signature {
    qint64 device = -1, inode = -1, size = -1, modified = -1, changed = -1;
    bool operator==(const Signature&) const = default;
};

Signature SignatureOf(const QString& real) {
    Signature sig;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(real).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return sig;
    sig.device = qint64(st.st_dev);
    sig.inode = qint64(st.st_ino);
    sig.size = qint64(st.st_size);
    sig.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    sig.changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
#else
    const QFileInfo info(real);
    if (!info.isFile()) return sig;
    sig.size = info.size();
    sig.modified = info.lastModified().toMSecsSinceEpoch();
    sig.changed = info.metadataChangeTime().toMSecsSinceEpoch();
#endif
    return sig;
}

struct Entry {
    Signature signature;
    RecordRead record;
};
}  // namespace

RecordRead ReadRecordCached(const QString& path, const RecordType& type, int recordNumber) {
    static QHash<QString, Entry> cache;
    const QString real = ResolvePath(path);
    const Signature now = SignatureOf(real);
    // A missing file is read every time: it may appear at any moment.
    if (now.size < 0) return ReadRecord(path, type, recordNumber);
    const QString key = QStringLiteral("%1|%2|%3").arg(real).arg(type.length).arg(recordNumber);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd() && it->signature == now) return it->record;
    const RecordRead record = ReadRecord(path, type, recordNumber);
    // A file that changed while it was read is read again next time.
    if (SignatureOf(real) == now) cache.insert(key, Entry{now, record});
    return record;
}

}  // namespace morla
