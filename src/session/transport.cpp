#include "session/transport.h"

#include <QFileInfo>

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

QString SerialDeviceFor(int portNumber, const QString& appFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(appFolder);
    return QStringLiteral("COM%1").arg(portNumber);
#else
    // A link named COMn in the program folder names the device; ttyS<n-1> otherwise.
    const QString link = ResolvePath(JoinPath(appFolder, QStringLiteral("COM%1").arg(portNumber)));
    const QFileInfo info(link);
    if (info.isSymLink()) return info.symLinkTarget();
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

}  // namespace morla
