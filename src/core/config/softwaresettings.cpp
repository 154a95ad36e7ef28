#include "core/config/softwaresettings.h"

#include <QDir>
#include <QFileInfo>

#include "core/codec/codec.h"

namespace morla {

SoftwareSettings ReadSoftwareSettings(const Paths& paths) {
    SoftwareSettings out;
    out.path = paths.softwareSettings();
    const RecordRead r = ReadRecord(out.path, SoftwareSettingsRecord);
    out.installationClass = r.fields[26];
    out.installationCode = r.fields[25];
    const QString& retries = r.fields[23];
    const QString& timeout = r.fields[24];
    if (!r.ok && QFileInfo::exists(ResolvePath(out.path))) {
        out.problems << r.cause;  // there, but not a file that can be read
        return out;
    }
    if (!r.ok || r.eof) {
        out.problems << QStringLiteral("el archivo no existe o está vacío");
        return out;
    }
    if (IsWholeNumber(retries) && ValOf(retries) >= 0)
        out.maxReadRetries = int(ValOf(retries));
    else
        out.problems
            << QStringLiteral("los reintentos (\"%1\") no son un número entero").arg(retries);
    if (IsWholeNumber(timeout) && ValOf(timeout) >= 0 && ValOf(timeout) <= 2000000)
        out.timeoutSeconds = int(ValOf(timeout));
    else
        out.problems
            << QStringLiteral("el tiempo de espera (\"%1\") no es un número entero").arg(timeout);
    return out;
}

QString SettingsProblemText(const SoftwareSettings& settings) {
    if (settings.problems.isEmpty()) return {};
    return QStringLiteral(
               "Configuración del software %1: %2. Se usan %3 reintentos y %4 segundos de espera.")
        .arg(QDir::toNativeSeparators(settings.path), settings.problems.join(QStringLiteral("; ")))
        .arg(settings.maxReadRetries)
        .arg(settings.timeoutSeconds);
}

}  // namespace morla
