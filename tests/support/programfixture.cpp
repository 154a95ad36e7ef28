#include "support/programfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimerEvent>

#include "core/codec/codec.h"

namespace morla::test {

QStringList ConfigRecord(const QString& key, const QString& flags, const QString& visible,
                         const QString& captionPrefix) {
    QStringList f;
    for (int i = 0; i < 57; ++i) f << QString();
    f[40] = visible;
    f[41] = QStringLiteral("Luvero");
    f[43] = key;
    f[44] = QStringLiteral("30");
    for (int k = 0; k < 9; ++k) f[45 + k] = captionPrefix + QString::number(k + 1);
    f[55] = flags;
    return f;
}

void WriteModelConfig(ProgramFixture& f, const ModelInfo& m, const QString& firmware,
                      const QString& key) {
    QDir(f.dir.path()).mkpath(m.base() + QStringLiteral("/Configuracion"));
    QStringList rec = ConfigRecord(key, QStringLiteral("000000"), QStringLiteral("111111000"),
                                   QStringLiteral("Opción "));
    rec[41] = m.base();
    WriteRecord(f.paths().modelConfig(m.base(), firmware), ModelConfigRecord, rec);
}

ProgramFixture::ProgramFixture(const QString& retries, const QString& timeout,
                               const QString& installationClass, Transport* realPort) {
    p = std::make_unique<Program>(msgs, realPort ? *realPort : static_cast<Transport&>(port));
    p->s.AppFolder = dir.path();
    QDir(dir.path()).mkpath(QStringLiteral("Utilerias/Generales/Equipos"));
    QDir(dir.path()).mkpath(QStringLiteral("Luvero/Configuracion"));
    writeSettings(retries, timeout, installationClass);
    const QString commands = paths().commands();
    const QStringList names{"Lectura",    "Escritura", "ResetFabrica",
                            "ResetClave", "Verificar", "Colgado"};
    const QStringList codes{"*40", "*42", "*49", "*43", "*46", "*47"};
    for (int i = 0; i < names.size(); ++i)
        WriteRecord(commands, CommandRecord, {names[i], codes[i], QStringLiteral("1/1/26")}, i + 1);
    WriteRecord(paths().modelConfig(QStringLiteral("Luvero"), QStringLiteral("30")),
                ModelConfigRecord,
                ConfigRecord(QStringLiteral("1234"), QStringLiteral("100000000"),
                             QStringLiteral("111111000"), QStringLiteral("Opción ")));
}

void ProgramFixture::writeSettings(const QString& retries, const QString& timeout,
                                   const QString& installationClass) {
    QStringList f;
    for (int i = 0; i < 27; ++i) f << QString();
    f[23] = retries;
    f[24] = timeout;
    f[25] = QStringLiteral("0001");
    f[26] = installationClass;
    WriteRecord(paths().softwareSettings(), SoftwareSettingsRecord, f);
}

void ProgramFixture::load() {
    p->Load();
}

QString LuveroBlock(const QString& firmwareHex, const QString& keyDigits,
                    const QString& optionDigits, const QString& modifier, const QString& userType) {
    return QStringLiteral("00") + firmwareHex + userType + modifier + keyDigits +
           QStringLiteral("66") + optionDigits + QStringLiteral("6E") + QString(106, 'F');
}

QByteArray LuveroReply(const QString& block128, bool badChecksum) {
    QString sum = FrameChecksum(block128);
    if (badChecksum)
        sum = sum == QStringLiteral("00") ? QStringLiteral("01") : QStringLiteral("00");
    const QString map = block128 + sum + QStringLiteral("03FE");
    QByteArray out("0245");
    for (QChar c : map) out.append(char('0' + HexToDigit(QString(c))));
    return out;
}

bool Fire(QTimer* timer) {
    if (!timer->isActive()) return false;
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
    return true;
}

}  // namespace morla::test
