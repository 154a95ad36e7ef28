// The device configuration file without a display: its text, the CRC-32 that seals it, what
// the parser refuses and why, and what a model's shape accepts.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/config/deviceimage.h"

using namespace morla;

Q_DECLARE_METATYPE(morla::ImageOrigin)
Q_DECLARE_METATYPE(morla::DeviceImage)

namespace {
DeviceImage Image(const QString& code, const QString& equipment, const QString& digits,
                  ImageOrigin origin = ImageOrigin::Read) {
    return {code,   equipment, QStringLiteral("30"),
            origin, digits,    QStringLiteral("2026-12-07 00:15:09")};
}

// A map of `length` digits with the model code in front and good block checksums.
QString Map(const QString& code, int length) {
    QString map = (code + QStringLiteral("1E090001")).leftJustified(length, '7');
    map.replace(128, 2, FrameChecksum(map.left(128)));
    if (length > 262) map.replace(260, 2, FrameChecksum(map.mid(132, 128)));
    return map;
}

// The file's lines before its CRC line, sealed with a fresh CRC.
QByteArray Sealed(const QByteArray& body) {
    return body +
           "CRC-32: " + QByteArray::number(Crc32(body), 16).toUpper().rightJustified(8, '0') + "\n";
}

QByteArray Body(const QByteArray& file) {
    return file.left(file.lastIndexOf("CRC-32: "));
}

QByteArray Replaced(const QByteArray& file, const char* from, const char* to) {
    QByteArray copy = file;
    return copy.replace(from, to);
}
}  // namespace

using RoundTripRow = std::tuple<QString, QString, QString, ImageOrigin>;
// detail: "" when accepted
using ShapeRow = std::tuple<DeviceImage, bool, QString>;

class TestDeviceImage : public QObject {
    Q_OBJECT
  private slots:
    // What a person sees, line by line; the CRC is zlib's over every line above it.
    void layout() {
        const QByteArray text = FormatDeviceImage(
            Image("0:", "Quarn", "0123456789ABCDEF0123456789ABCDEFFEDC", ImageOrigin::Panel));
        QCOMPARE(QString::fromUtf8(text),
                 QStringLiteral("MORLA configuración de equipo\n"
                                "Versión: 1\n"
                                "Modelo: 0:\n"
                                "Equipo: Quarn\n"
                                "Firmware: 30\n"
                                "Origen: panel\n"
                                "Fecha: 2026-12-07 00:15:09\n"
                                "Mapa 001: 0123456789ABCDEF0123456789ABCDEF\n"
                                "Mapa 033: FEDC\n"
                                "CRC-32: 6B8C31C9\n"));
    }

    void roundTrip_data() {
        QTest::addColumn<RoundTripRow>("row");
        // clang-format off
        QTest::newRow("138-character reply") << RoundTripRow{"00", "Lúvero", Map("00", 134), ImageOrigin::Read};
        QTest::newRow("270-character reply") << RoundTripRow{"0:", "Quarn", Map("0A", 266), ImageOrigin::Read};
        QTest::newRow("a row and one") << RoundTripRow{"06", "Kovalindre", QString(33, 'A'), ImageOrigin::Panel};
        // clang-format on
    }
    void roundTrip() {
        QFETCH(RoundTripRow, row);
        const auto& [code, equipment, digits, origin] = row;
        const DeviceImage image = Image(code, equipment, digits, origin);
        const QByteArray text = FormatDeviceImage(image);
        const ParsedImage parsed = ParseDeviceImage(text);
        QCOMPARE(parsed.refusal, ImageRefusal::None);
        QVERIFY(parsed.image.has_value());
        QCOMPARE(*parsed.image, image);
        // Rows of 32 digits, each named by the position of its first digit.
        const int rows = int(text.count("\nMapa "));
        QCOMPARE(rows, (digits.size() + 31) / 32);
        // Line ends of another system read the same.
        QCOMPARE(*ParseDeviceImage(Replaced(text, "\n", "\r\n")).image, image);
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("detail");
        const QByteArray good = FormatDeviceImage(Image("00", "Lúvero", Map("00", 134)));
        const QByteArray body = Body(good);
        const QByteArray badCrc =
            body + "CRC-32: " + QByteArray::number(Crc32(body), 16).toUpper().right(7) + "\n";
        // Edited and sealed again by hand: the content itself is checked.
        auto sealed = [&](const char* from, const char* to) {
            return Sealed(Replaced(body, from, to));
        };
        const QByteArray longRow =
            Sealed(body.left(body.indexOf("Mapa 129")) + "Mapa 129: " + QByteArray(33, '0') + "\n");
        // clang-format off
        QTest::newRow("tab in a line") << Replaced(good, "Equipo: ", "Equipo:\t") << "tiene caracteres de control";
        QTest::newRow("too large") << good + QByteArray(kDeviceImageMaxBytes, '\n') << "es demasiado grande para serlo";
        QTest::newRow("version 01") << Replaced(good, "Versión: 1", "Versión: 01") << "no dice su versión";
        QTest::newRow("no version") << Replaced(good, "Versión: 1\n", "") << "no dice su versión";
        QTest::newRow("CRC of seven digits") << badCrc << "le falta su suma de verificación";
        QTest::newRow("line missing") << sealed("Equipo: Lúvero\n", "") << "falta la línea \"Equipo\"";
        QTest::newRow("model code of three") << sealed("Modelo: 00", "Modelo: 000") << "el código de modelo no es válido";
        QTest::newRow("firmware of four") << sealed("Firmware: 30", "Firmware: 3000") << "el firmware no es válido";
        QTest::newRow("unknown origin") << sealed("Origen: lectura", "Origen: copia") << "el origen no es válido";
        QTest::newRow("month 13") << sealed("Fecha: 2026-12", "Fecha: 2026-13") << "la fecha no es válida";
        QTest::newRow("rows out of order") << sealed("Mapa 033", "Mapa 034") << "la línea 2 del mapa no es válida";
        QTest::newRow("blank in a row") << sealed("Mapa 001: 00", "Mapa 001: 0 ") << "la línea 1 del mapa no es válida";
        QTest::newRow("short row before the last") << sealed("Mapa 001: 00", "Mapa 001: 0") << "la línea 1 del mapa no es válida";
        QTest::newRow("row too long") << longRow << "la línea 5 del mapa no es válida";
        QTest::newRow("no map") << Sealed(body.left(body.indexOf("Mapa 001"))) << "no tiene mapa";
        // clang-format on
    }
    void refused() {
        QFETCH(QByteArray, file);
        QFETCH(QString, detail);
        const ParsedImage parsed = ParseDeviceImage(file);
        QVERIFY(!parsed.image.has_value());
        QCOMPARE(parsed.refusal, ImageRefusal::Damaged);
        QCOMPARE(parsed.detail, detail);
    }

    void shape_data() {
        QTest::addColumn<ShapeRow>("row");
        const QString map = Map("05", 266);
        auto at = [](QString text, int position, const char* digits) {
            return text.replace(position - 1, int(qstrlen(digits)), QLatin1String(digits));
        };
        const auto z = [](const QString& digits, ImageOrigin origin = ImageOrigin::Read) {
            return Image("05", "Zentavira", digits, origin);
        };
        const auto panel = ImageOrigin::Panel;
        // clang-format off
        QTest::newRow("a good map") << ShapeRow{z(map), true, ""};
        QTest::newRow("block 2 sum") << ShapeRow{z(at(map, 200, "0")), true, "la suma del bloque 2 del mapa no es correcta"};
        QTest::newRow("a mark in a map") << ShapeRow{z(at(map, 50, "<")), true, "el mapa lleva caracteres que no son dígitos"};
        QTest::newRow("sums not tested") << ShapeRow{z(at(map, 200, "0")), false, ""};
        QTest::newRow("name of another model") << ShapeRow{Image("05", "Quarn", map), true, "el equipo \"Quarn\" no es el de su código de modelo"};
        QTest::newRow("frame of a known length") << ShapeRow{z(QString(264, 'F'), panel), true, ""};
        // clang-format on
    }
    void shape() {
        QFETCH(ShapeRow, row);
        const auto& [image, checksums, detail] = row;
        ImageShape shape{
            QStringLiteral("Zentavira"), QStringLiteral("05"), 266, {264, 234}, checksums, 2};
        QString why;
        const ImageRefusal r = CheckImage(image, shape, &why);
        QCOMPARE(r, detail.isEmpty() ? ImageRefusal::None : ImageRefusal::Damaged);
        QCOMPARE(why, detail);
    }

    // Reply text and digits both ways; only the low four bits of a reply character carry its
    // digit.
    void replyText() {
        QCOMPARE(ReplyTextFor(QStringLiteral("0A1E")), QStringLiteral("02450:1>"));
        const QString all = QStringLiteral("0123456789ABCDEF");
        QCOMPARE(ReplyTextFor(all), QStringLiteral("02450123456789:;<=>?"));
        QCOMPARE(DigitsOfReply(ReplyTextFor(all)), all);
        QCOMPARE(DigitsOfReply(QStringLiteral("xxxxA1q?")), QStringLiteral("111F"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceImage)
#include "test_deviceimage.moc"
