#include "cli/context.h"

#include <QDir>
#include <QRegularExpression>

#include "core/models/commandtable.h"
#include "core/models/registry.h"
#include "session/transport.h"
#include "session/writeverification.h"

namespace morla::cli {

Folder Folder::Load(const QString& path) {
    Folder f;
    f.path = QDir::cleanPath(path);
    f.settings = ReadSoftwareSettings(f.paths());
    f.classCode = InstallationClassCode(f.settings.installationClass);
    MorlaState s;
    s.AppFolder = f.path;
    f.commandsProblem = LoadCommandTable(s);
    f.readCommand = s.ReadCommand;
    f.writeCommand = s.WriteCommand;
    return f;
}

QStringList Folder::configRecord(const ModelInfo& m, const QString& firmware) const {
    return ReadRecord(paths().modelConfig(m.base(), firmware), ModelConfigRecord).fields;
}

bool Folder::hasConfig(const ModelInfo& m, const QString& firmware) const {
    return FileExists(paths().modelConfig(m.base(), firmware));
}

int Folder::timeoutMs() const {
    // A read that can never end is no use to a script: "never" waits as the verification does.
    return settings.timeoutSeconds > 0 ? settings.timeoutSeconds * 1000
                                       : WriteVerification::kFallbackTimeoutMs;
}

std::optional<PortSpec> PortSpec::Parse(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^(?:COM)?([0-9]{1,3})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    PortSpec p;
    p.given = text;
    if (const auto m = number.match(text); m.hasMatch()) {
        p.number = m.captured(1).toInt();
        if (p.number < 1) return std::nullopt;
        return p;
    }
    // Anything that names a path is a device.
    if (text.contains(u'/') || text.contains(u'\\')) {
        p.device = text;
        return p;
    }
    return std::nullopt;
}

QString PortSpec::deviceIn(const QString& folder) const {
    return number > 0 ? SerialDeviceFor(number, folder) : device;
}

QString PortSpec::label() const {
    return number > 0 ? QStringLiteral("Puerto %1").arg(number) : device;
}

QString PortSpec::logName() const {
    return number > 0 ? QStringLiteral("COM%1").arg(number) : device;
}

QString PortSpec::described(const QString& folder) const {
    if (number > 0)
        return QStringLiteral("el puerto serie %1 (%2)")
            .arg(number)
            .arg(QDir::toNativeSeparators(deviceIn(folder)));
    return QStringLiteral("el puerto %1").arg(QDir::toNativeSeparators(device));
}

}  // namespace morla::cli
