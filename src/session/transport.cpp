#include "session/transport.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "core/config/recordfile.h"

namespace morla {

QString LineErrorText(Transport::LineError error) {
    switch (error) {
        case Transport::LineError::Break:
            return QStringLiteral("Puerto Serie Abierto");
        case Transport::LineError::Framing:
            return QStringLiteral("Error en Trama");
        case Transport::LineError::Overrun:
            return QStringLiteral("Datos Perdidos");
        case Transport::LineError::ReceiveOverflow:
            return QStringLiteral("Desbordamiento");
        case Transport::LineError::Parity:
            return QStringLiteral("Error de Paridad");
        case Transport::LineError::TransmitFull:
            return QStringLiteral("Buffer de Transmisión Lleno");
        case Transport::LineError::Config:
            return QStringLiteral("Error en DCB");
    }
    return {};
}

QString PortDevice::text(bool shortLink) const {
    if (link.isEmpty()) return QDir::toNativeSeparators(device);
    const QString name = shortLink ? QFileInfo(link).fileName() : QDir::toNativeSeparators(link);
    if (device.isEmpty()) return name;
    return name + QStringLiteral(" → ") + QDir::toNativeSeparators(device);
}

PortDevice ResolvePort(int portNumber, const QString& appFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(appFolder);
    return {QStringLiteral("COM%1").arg(portNumber), {}};
#else
    // Links seen in this run, by folder and number. A port that was a link and fell back to
    // ttyS<n-1> when the link went away would open some other device without a word.
    static QSet<QString> linksSeen;
    const QString name = QStringLiteral("COM%1").arg(portNumber);
    const QString link = ResolvePath(JoinPath(appFolder, name));
    const QString key = QDir::cleanPath(QDir(appFolder).absolutePath()) + QLatin1Char('/') + name;
    const QFileInfo info(link);
    if (info.isSymLink()) {
        linksSeen.insert(key);
        return {info.symLinkTarget(), link};
    }
    if (linksSeen.contains(key)) return {{}, link};
    return {QStringLiteral("/dev/ttyS%1").arg(portNumber - 1), {}};
#endif
}

QString SerialDeviceFor(int portNumber, const QString& appFolder) {
    return ResolvePort(portNumber, appFolder).device;
}

}  // namespace morla
