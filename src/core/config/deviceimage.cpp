#include "core/config/deviceimage.h"

#include <array>

#include "core/codec/codec.h"

namespace morla {

namespace {
const QByteArray kTitle = QByteArrayLiteral("MORLA configuración de equipo");
constexpr int kRowDigits = 32;
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QByteArray kCrcLabel = QByteArrayLiteral("CRC-32: ");

QString originText(ImageOrigin origin) {
    return origin == ImageOrigin::Read ? QStringLiteral("lectura") : QStringLiteral("panel");
}

bool isUpperHex(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool allUpperHex(QStringView text) {
    for (QChar c : text)
        if (!isUpperHex(c)) return false;
    return true;
}

// A frame may carry marks besides hex digits; rows hold any printable character but a blank.
bool allPrintable(QStringView text) {
    for (QChar c : text)
        if (c.unicode() <= ' ' || c.unicode() > '~') return false;
    return true;
}

ParsedImage refused(ImageRefusal why, const QString& detail, int version = 0) {
    ParsedImage r;
    r.refusal = why;
    r.detail = detail;
    r.version = version;
    return r;
}

// "Label: value" with exactly this label, or nothing.
std::optional<QString> valueOf(const QByteArray& line, const char* label) {
    const QByteArray prefix = QByteArray(label) + ": ";
    if (!line.startsWith(prefix)) return std::nullopt;
    return QString::fromUtf8(line.mid(prefix.size()));
}
}  // namespace

QString ImageDate(const QDateTime& when) {
    return when.toString(kDateFormat);
}

quint32 Crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (char b : bytes) crc = table[(crc ^ quint8(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray FormatDeviceImage(const DeviceImage& image) {
    QString text;
    text += QString::fromUtf8(kTitle) + '\n';
    text += QStringLiteral("Versión: %1\n").arg(kDeviceImageVersion);
    text += QStringLiteral("Modelo: ") + image.modelCode + '\n';
    text += QStringLiteral("Equipo: ") + image.equipment + '\n';
    text += QStringLiteral("Firmware: ") + image.firmware + '\n';
    text += QStringLiteral("Origen: ") + originText(image.origin) + '\n';
    text += QStringLiteral("Fecha: ") + image.saved + '\n';
    // Rows named by the map position of their first digit, as positions are counted.
    for (int at = 0; at < image.digits.size(); at += kRowDigits)
        text += QStringLiteral("Mapa %1: ").arg(at + 1, 3, 10, QLatin1Char('0')) +
                image.digits.mid(at, kRowDigits) + '\n';
    QByteArray bytes = text.toUtf8();
    bytes += kCrcLabel + QByteArray::number(Crc32(bytes), 16).toUpper().rightJustified(8, '0');
    bytes += '\n';
    return bytes;
}

ParsedImage ParseDeviceImage(const QByteArray& file) {
    const QString damaged = QStringLiteral("no es un archivo de configuración de equipo");
    if (file.size() > kDeviceImageMaxBytes)
        return refused(ImageRefusal::Damaged, QStringLiteral("es demasiado grande para serlo"));
    QList<QByteArray> lines = file.split('\n');
    // Every line ends in a line end, the last one too.
    if (lines.size() < 2 || !lines.last().isEmpty())
        return refused(ImageRefusal::Damaged, QStringLiteral("está incompleto"));
    lines.removeLast();
    // Line ends written by another system ("\r\n") are taken as written here.
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    if (lines.first() != kTitle) return refused(ImageRefusal::Damaged, damaged);
    // No value holds a control character: it would not read back as it was written.
    for (const QByteArray& line : lines)
        for (char c : line)
            if (quint8(c) < 0x20 || c == 0x7F)
                return refused(ImageRefusal::Damaged,
                               QStringLiteral("tiene caracteres de control"));

    // The version first: another version may have another layout, and another checksum.
    const std::optional<QString> version = valueOf(lines.value(1), "Versión");
    bool numeric = false;
    const int number = version ? version->toInt(&numeric) : 0;
    if (!version || !numeric || number < 1 || *version != QString::number(number))
        return refused(ImageRefusal::Damaged, QStringLiteral("no dice su versión"));
    if (number != kDeviceImageVersion)
        return refused(ImageRefusal::OtherVersion, QString::number(number), number);

    const QByteArray& last = lines.last();
    const QByteArray crcText = last.mid(kCrcLabel.size());
    if (!last.startsWith(kCrcLabel) || crcText.size() != 8 ||
        !allUpperHex(QString::fromLatin1(crcText)))
        return refused(ImageRefusal::Damaged, QStringLiteral("le falta su suma de verificación"),
                       number);
    QByteArray content;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) content += lines[i] + '\n';
    if (crcText.toUInt(nullptr, 16) != Crc32(content))
        return refused(ImageRefusal::BadChecksum, {}, number);

    DeviceImage image;
    const char* labels[] = {"Modelo", "Equipo", "Firmware", "Origen", "Fecha"};
    QString values[5];
    for (int k = 0; k < 5; ++k) {
        const std::optional<QString> v = valueOf(lines.value(2 + k), labels[k]);
        if (!v)
            return refused(ImageRefusal::Damaged,
                           QStringLiteral("falta la línea \"%1\"").arg(QLatin1String(labels[k])),
                           number);
        values[k] = *v;
    }
    image.modelCode = values[0];
    image.equipment = values[1];
    image.firmware = values[2];
    if (image.modelCode.size() != 2)
        return refused(ImageRefusal::Damaged, QStringLiteral("el código de modelo no es válido"),
                       number);
    if (image.firmware.isEmpty() || image.firmware.size() > 3 || !allUpperHex(image.firmware))
        return refused(ImageRefusal::Damaged, QStringLiteral("el firmware no es válido"), number);
    if (values[3] == originText(ImageOrigin::Read))
        image.origin = ImageOrigin::Read;
    else if (values[3] == originText(ImageOrigin::Panel))
        image.origin = ImageOrigin::Panel;
    else
        return refused(ImageRefusal::Damaged, QStringLiteral("el origen no es válido"), number);
    image.saved = values[4];
    const QDate date = QDate::fromString(values[4].left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(values[4].mid(11), QStringLiteral("HH:mm:ss"));
    if (values[4].size() != 19 || values[4].at(10) != ' ' || !date.isValid() || !time.isValid())
        return refused(ImageRefusal::Damaged, QStringLiteral("la fecha no es válida"), number);

    const qsizetype rows = lines.size() - 8;
    if (rows < 1) return refused(ImageRefusal::Damaged, QStringLiteral("no tiene mapa"), number);
    for (qsizetype r = 0; r < rows; ++r) {
        const QByteArray& line = lines[7 + r];
        const QByteArray label =
            "Mapa " + QByteArray::number(image.digits.size() + 1).rightJustified(3, '0') + ": ";
        const QString digits = QString::fromLatin1(line.mid(label.size()));
        const bool full = digits.size() == kRowDigits;
        // Only the last row may be short.
        if (!line.startsWith(label) || digits.isEmpty() || !allPrintable(digits) ||
            (!full && r + 1 < rows) || digits.size() > kRowDigits)
            return refused(ImageRefusal::Damaged,
                           QStringLiteral("la línea %1 del mapa no es válida").arg(r + 1), number);
        image.digits += digits;
    }
    ParsedImage ok;
    ok.image = image;
    ok.version = number;
    return ok;
}

int WrongBlock(const QString& map, int blocks) {
    if (FrameChecksum(map.left(128)) != map.mid(128, 2)) return 1;
    if (blocks > 1 && FrameChecksum(map.mid(132, 128)) != map.mid(260, 2)) return 2;
    return 0;
}

ImageRefusal CheckImage(const DeviceImage& image, const ImageShape& shape, QString* detail) {
    auto damaged = [detail](const QString& why) {
        if (detail) *detail = why;
        return ImageRefusal::Damaged;
    };
    if (image.equipment != shape.equipment)
        return damaged(QStringLiteral("el equipo \"%1\" no es el de su código de modelo")
                           .arg(image.equipment));
    if (image.origin == ImageOrigin::Panel) {
        if (!shape.frameDigits.contains(int(image.digits.size())))
            return damaged(QStringLiteral("un marco de %1 dígitos no es de este modelo")
                               .arg(image.digits.size()));
        return ImageRefusal::None;
    }
    if (!allUpperHex(image.digits))
        return damaged(QStringLiteral("el mapa lleva caracteres que no son dígitos"));
    if (image.digits.size() != shape.readDigits)
        return damaged(QStringLiteral("el mapa tiene %1 dígitos y el modelo %2")
                           .arg(image.digits.size())
                           .arg(shape.readDigits));
    if (!image.digits.startsWith(shape.codeDigits))
        return damaged(QStringLiteral("el mapa no es de este modelo"));
    if (shape.readChecksums)
        if (const int block = WrongBlock(image.digits, shape.blocks))
            return damaged(
                QStringLiteral("la suma del bloque %1 del mapa no es correcta").arg(block));
    return ImageRefusal::None;
}

QString ReplyTextFor(const QString& digits) {
    QString text = QStringLiteral("0245");
    for (QChar d : digits) text += QChar(d.unicode() <= '9' ? d.unicode() : d.unicode() - 'A' + 58);
    return text;
}

QString DigitsOfReply(const QString& replyText) {
    QString digits;
    for (QChar c : QStringView(replyText).mid(4))
        digits += QStringLiteral("0123456789ABCDEF").at(c.unicode() & 0xF);
    return digits;
}

}  // namespace morla
