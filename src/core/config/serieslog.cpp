#include "core/config/serieslog.h"

#include <QFile>

#include "core/config/filecause.h"
#include "core/config/recordfile.h"

namespace morla {

namespace {
// A mark that tells spreadsheets the text is UTF-8 (model names carry accents).
const QByteArray kUtf8Mark("\xEF\xBB\xBF");

QByteArray headerLine(const QStringList& header) {
    return kUtf8Mark + CsvLine(header).toUtf8() + "\r\n";
}

// A log begun before the last two columns were added gets the header that names them: its
// lines simply lack them.
bool updateHeader(const QString& path, QString* error) {
    const QByteArray old = headerLine(OldSeriesLogHeader());
    QFile file;
    QString cause;
    if (!OpenRegularFile(file, path, &cause) || file.read(old.size()) != old) return true;
    file.seek(0);
    const QByteArray content = file.readAll();
    file.close();
    const RecordWriteResult r =
        ReplaceFile(path, headerLine(SeriesLogHeader()) + content.mid(old.size()));
    if (!r.ok && error) *error = r.error;
    return r.ok;
}
}  // namespace

QString CsvLine(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields) {
        if (f.contains(';') || f.contains('"') || f.contains('\n') || f.contains('\r')) {
            QString quoted = f;
            quoted.replace('"', QStringLiteral("\"\""));
            out << '"' + quoted + '"';
        } else {
            out << f;
        }
    }
    return out.join(';');
}

QStringList OldSeriesLogHeader() {
    return {QStringLiteral("Fecha y hora"), QStringLiteral("Modelo"),
            QStringLiteral("Firmware"),     QStringLiteral("Clave"),
            QStringLiteral("Resultado"),    QStringLiteral("Diferencias")};
}

QStringList SeriesLogHeader() {
    return OldSeriesLogHeader() + QStringList{QStringLiteral("Unidad"), QStringLiteral("Puerto")};
}

QString SeriesLogIn(const QString& appFolder) {
    return appFolder + QStringLiteral("/Serie.csv");
}

bool AppendSeriesLog(const QString& path, const QStringList& fields, QString* error) {
    if (!updateHeader(path, error)) return false;
    const RecordWriteResult r =
        AppendLine(path, CsvLine(fields).toUtf8() + "\r\n", headerLine(SeriesLogHeader()));
    if (!r.ok && error) *error = r.error;
    return r.ok;
}

}  // namespace morla
