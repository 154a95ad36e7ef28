#include "core/config/serieslog.h"

#include <QFile>

namespace morla::series {

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

QStringList Header() {
    return {QStringLiteral("Fecha y hora"), QStringLiteral("Modelo"),
            QStringLiteral("Firmware"),     QStringLiteral("Clave"),
            QStringLiteral("Resultado"),    QStringLiteral("Diferencias"),
            QStringLiteral("Unidad"),       QStringLiteral("Puerto")};
}

QString LogPathIn(const QString& appFolder) {
    return appFolder + QStringLiteral("/Serie.csv");
}

bool Append(const QString& path, const QStringList& fields, QString* error) {
    QFile file(path);
    const bool fresh = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = file.errorString();
        return false;
    }
    QByteArray bytes;
    // A mark that tells spreadsheets the text is UTF-8 (model names carry accents).
    if (fresh) bytes = "\xEF\xBB\xBF" + CsvLine(Header()).toUtf8() + "\r\n";
    bytes += CsvLine(fields).toUtf8() + "\r\n";
    // One write per line: the lines of units ending together never mix.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace morla::series
