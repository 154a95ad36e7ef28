#include "session/portaccess.h"

#include <QSettings>

#include "core/config/recordfile.h"

namespace morla {

namespace {
const QString kPortKey = QStringLiteral("Puerto/Numero");
const QString kChooseAnother =
    QStringLiteral(" Puede elegir otro en Configuración, Puerto serie...");

QString portFile(const QString& appFolder) {
    return JoinPath(appFolder, QStringLiteral("Puerto.ini"));
}
}  // namespace

QString PortAccess::open(int portNumber, const QString& appFolder) {
    port_.close();
    lost_ = false;
    return openPort(portNumber, appFolder);
}

QString PortAccess::ready(int portNumber, const QString& appFolder) {
    if (port_.isOpen()) {
        const QString cause = port_.lostCause();
        if (cause.isEmpty() && !port_.portMoved()) return {};
        port_.close();
        if (!cause.isEmpty()) lost_ = true;
    }
    return openPort(portNumber, appFolder);
}

QString PortAccess::openPort(int portNumber, const QString& appFolder) {
    QString cause;
    if (port_.open(portNumber, appFolder, &cause)) {
        lost_ = false;
        if (LastGoodPort(appFolder) != portNumber) RememberGoodPort(appFolder, portNumber);
        return {};
    }
    // After a loss the technician learns why the port that worked a moment ago does not now.
    const QString text =
        lost_ ? QStringLiteral("Se perdió la conexión con el puerto serie %1 (%2): %3.")
              : QStringLiteral("No se pudo abrir el puerto serie %1 (%2): %3.");
    return text.arg(portNumber).arg(port_.portText(), cause) + kChooseAnother;
}

QString PortAccess::lost(int portNumber, const QString& cause) {
    lost_ = true;
    return QStringLiteral(
               "Se perdió la conexión con el puerto serie %1 (%2): %3. El puerto "
               "quedó cerrado; el próximo comando lo abrirá de nuevo.")
        .arg(portNumber)
        .arg(port_.portText(), cause);
}

QString PortAccess::checkAfterSilence(int portNumber) {
    if (!port_.isOpen()) return {};
    const QString cause = port_.lostCause();
    if (cause.isEmpty()) return {};
    port_.close();
    return lost(portNumber, cause);
}

int LastGoodPort(const QString& appFolder) {
    if (appFolder.isEmpty()) return 0;
    const QSettings settings(portFile(appFolder), QSettings::IniFormat);
    bool ok = false;
    const int n = settings.value(kPortKey).toInt(&ok);
    return ok && n >= 1 && n <= 5 ? n : 0;
}

bool RememberGoodPort(const QString& appFolder, int portNumber) {
    if (appFolder.isEmpty()) return false;
    QSettings settings(portFile(appFolder), QSettings::IniFormat);
    settings.setValue(kPortKey, portNumber);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace morla
