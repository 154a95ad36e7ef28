#include "context/program.h"

#include <QDir>

#include "link/codec.h"
#include "models/registry.h"

namespace morla {

Program::~Program() {
    for (auto& [name, w] : windows_) delete w.data();
}

void Program::endReadProgress() {
    readInProgress = false;
    main->readProgress->hide();
}

void Program::registerWindow(const QString& name, const QString& title, WindowBuilder build) {
    windowKinds_[name] = {title, std::move(build)};
}

QWidget* Program::window(const QString& name) {
    auto it = windows_.find(name);
    if (it != windows_.end() && it->second) return it->second;
    const auto kind = windowKinds_.find(name);
    QWidget* w =
        kind != windowKinds_.end() && kind->second.build ? kind->second.build(*this) : nullptr;
    if (!w) {
        w = new QWidget(nullptr, Qt::Window);
        w->setObjectName(name);
        if (kind != windowKinds_.end()) w->setWindowTitle(kind->second.title);
        w->resize(480, 360);
    }
    windows_[name] = w;
    return w;
}

QString InstallationClass(const Program& p) {
    return InstallationClassFromTitle(p.main->windowTitle());
}

void LoadSoftwareSettings(Program& p) {
    MorlaState& s = p.s;
    const QString path = s.paths().softwareSettings();
    const RecordRead r = ReadRecord(path, SoftwareSettingsRecord);
    p.main->setWindowTitle(QStringLiteral("Morla para ") + r.fields[26]);
    const QString& retries = r.fields[23];
    const QString& timeout = r.fields[24];
    // Safe values when the file is missing or its numbers are not whole numbers.
    int maxRetries = 3;
    int timeoutSeconds = 10;
    QStringList problems;
    if (!r.ok || r.eof) {
        problems << QStringLiteral("el archivo no existe o está vacío");
    } else {
        if (IsWholeNumber(retries) && ValOf(retries) >= 0)
            maxRetries = int(ValOf(retries));
        else
            problems
                << QStringLiteral("los reintentos (\"%1\") no son un número entero").arg(retries);
        if (IsWholeNumber(timeout) && ValOf(timeout) >= 0 && ValOf(timeout) <= 2000000)
            timeoutSeconds = int(ValOf(timeout));
        else
            problems << QStringLiteral("el tiempo de espera (\"%1\") no es un número entero")
                            .arg(timeout);
    }
    if (!problems.isEmpty())
        p.msg.info(QStringLiteral("Configuración del software %1: %2. Se usan %3 reintentos y "
                                  "%4 segundos de espera.")
                       .arg(QDir::toNativeSeparators(path), problems.join(QStringLiteral("; ")))
                       .arg(maxRetries)
                       .arg(timeoutSeconds));
    s.MaxReadRetries = maxRetries;
    p.main->TimerEC->setInterval(timeoutSeconds * 1000);
    s.InstallationCode = r.fields[25];
}

void Program::Unload() {
    if (s.ModeCode != QStringLiteral("PC")) {
        msg.info(QStringLiteral("Cerrando Puerto"));
        port.close();
    }
}

}  // namespace morla
