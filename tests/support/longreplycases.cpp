#include "support/longreplycases.h"

#include <QDir>

#include "core/codec/codec.h"
#include "support/programfixture.h"

namespace morla::test {

namespace {
// clang-format off
constexpr LongCase kCases[] = {
    {"Quarn Dolmeth",    ModelId::Quarn,      10, "8",  "08", "quarn"},
    {"Quarn Conmutador", ModelId::Quarn,       6, "30", "1E", "quarn"},
    {"Pellitor",         ModelId::Pellitor,    7, "15", "15", "pellitor"},
    {"Kovalindre",       ModelId::Kovalindre,  9, "30", "1E", "kovalindre"},
};
// clang-format on

void put(QString& map, int at, const QString& digits) {
    for (int i = 0; i < digits.size(); ++i) map[at - 1 + i] = digits[i];
}
}  // namespace

std::span<const LongCase> LongCases() {
    return kCases;
}

const LongCase& LongCaseNamed(const QString& name) {
    for (const LongCase& c : kCases)
        if (name == QLatin1String(c.name)) return c;
    return kCases[0];
}

void WriteLongConfigs(const Paths& paths) {
    for (const LongCase& c : kCases) {
        const QString base = Model(c.id).base();
        QDir(paths.AppFolder).mkpath(base + QStringLiteral("/Configuracion"));
        QStringList f = ConfigRecord(QStringLiteral("12345"), QStringLiteral("000000000"),
                                     QStringLiteral("101111000"), QStringLiteral("Opción "));
        f[41] = base;
        f[44] = QString::fromLatin1(c.firmware);
        for (int k = 1; k <= 8; ++k) f[k - 1] = QStringLiteral("Parámetro %1").arg(k);
        f[20] = QStringLiteral("0");    // trunk default
        f[21] = QStringLiteral("6");    // local digits
        f[22] = QStringLiteral("040");  // Pellitor metered allowed calls
        f[23] = QStringLiteral("020");  // prohibited duration / long-distance allowed
        f[24] = QStringLiteral("100");
        f[25] = QStringLiteral("090");
        f[26] = QStringLiteral("150");  // free duration / metered counter
        f[27] = QStringLiteral("000");
        WriteRecord(paths.modelConfig(base, QString::fromLatin1(c.firmware)), ModelConfigRecord, f);
    }
}

QString WithChecksums(QString map) {
    map = map.leftJustified(266, 'F', true);
    put(map, 129, FrameChecksum(map.mid(0, 128)));
    put(map, 131, QStringLiteral("45"));
    put(map, 261, FrameChecksum(map.mid(132, 128)));
    put(map, 263, QStringLiteral("03FE"));
    return map;
}

QByteArray ReplyFromMap(const QString& map266) {
    QByteArray out("0245");
    for (QChar c : WithChecksums(map266)) out.append(char('0' + HexToDigit(QString(c))));
    return out;
}

QString KnownImage(const LongCase& c) {
    QString map(266, 'F');
    const ModelInfo& m = Model(c.id);
    put(map, 1, m.id == ModelId::Quarn ? QStringLiteral("0A") : m.code());
    put(map, 3, QString::fromLatin1(c.firmwareMap));
    put(map, 5, QStringLiteral("090001"));
    const QString key = QStringLiteral("135A7");  // "13507"
    put(map, 11, key);
    // Options 1, 4, 6 and the trunk: digit 17 bit 2, digit 20 bits 1, 2 and 4.
    put(map, 17, QStringLiteral("2007"));
    put(map, 21, QStringLiteral("00"));
    const bool pellitor = c.id == ModelId::Pellitor;
    if (pellitor) {
        put(map, 22, QStringLiteral("800"));
        put(map, 25, QStringLiteral("000102"));  // metered counter 012
        put(map, 31, QStringLiteral("0A0304"));  // long-distance counter, "A" shows 0
        put(map, 37, QStringLiteral("000509"));  // allowed calls, written only
        put(map, 43, QStringLiteral("000601"));
        put(map, 49, QStringLiteral("010202"));  // durations 122 and 045
        put(map, 55, QStringLiteral("000405"));
        put(map, 61, QStringLiteral("5B5C1AFFFFFFFFFF"));  // "5*5#10"
        put(map, 125, QStringLiteral("1234"));             // memory 4 over both blocks
        put(map, 133, QStringLiteral("5678FFFFFFFF"));
        put(map, 145, key + 'F');
        put(map, 151, QStringLiteral("2A222F33333F"));  // keys 2 and 3
    } else {
        put(map, 23, QStringLiteral("000A07"));  // counter 007, "A" shows 0
        put(map, 29, QStringLiteral("010200"));  // durations 120 and 045
        put(map, 35, QStringLiteral("000405"));
        put(map, 41, QStringLiteral("5B5C1AFFFFFFFFFF"));
        if (c.id == ModelId::Quarn) {
            put(map, 121, QStringLiteral("12345678"));  // memory 5 over both blocks
            put(map, 133, QStringLiteral("9A12FFFF"));
            put(map, 189, QStringLiteral("9999FFFFFFFFFFFF"));  // memory 9, sent as "0"
            if (QString::fromLatin1(c.firmware).toInt() > 23) {
                put(map, 205, key + 'F');
                put(map, 211, QStringLiteral("2A222F"));
                put(map, 229, QStringLiteral("55555F"));
            }
        } else {
            put(map, 105, key + 'F');
            put(map, 111, QStringLiteral("2A222F"));
            put(map, 123, QStringLiteral("44444F"));  // key 4 ends block 1
            put(map, 133, QStringLiteral("55555F"));  // key 5 begins block 2
            put(map, 253, QStringLiteral("99999F"));  // key 25
        }
    }
    return WithChecksums(map);
}

}  // namespace morla::test
