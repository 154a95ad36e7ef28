// Comparing a written map with a read-back one names exactly the fields whose shown text
// differs, whatever way the device keeps its characters, and never a place no read decodes.
#include <QtTest>

#include "core/models/fieldlayout.h"

using namespace morla;

namespace {

int mapLength(const ModelInfo& m) {
    return m.replyLength - 4;
}

// A map of "3" digits after the model's header; the Tervolinda's options on ("09"), so that
// any change to them shows.
QString baseMap(const ModelInfo& m, const QString& firmware) {
    QString code = m.code();
    code.replace(':', 'A');
    QString map = code + firmware.rightJustified(2, '0') + QStringLiteral("090001");
    map = map.leftJustified(mapLength(m), '3');
    if (m.id == ModelId::Tervolinda) map.replace(10, 4, QStringLiteral("0909"));
    return map;
}

}  // namespace

class TestFieldLayout : public QObject {
    Q_OBJECT
  private slots:
    // One digit of the read-back changed: the comparison names the field that holds it, or
    // nothing when no compared field does.
    void oneChangedDigitNamesItsField_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");  // "" for no difference
        const auto row = [](const char* name, ModelId id, const char* fw, int at,
                            const char* expected) {
            // clang-format off
            QTest::newRow(name) << int(id) << QString::fromLatin1(fw) << at << QString::fromLatin1(expected);
            // clang-format on
        };
        row("Lúvero key", ModelId::Luvero, "30", 12, "MorTexResCla (11-14)");
        row("Lúvero options", ModelId::Luvero, "30", 20, "Opciones (17-20)");
        row("Lúvero modifier", ModelId::Luvero, "30", 9, "MorTexResMod (7-10)");
        row("Lúvero constant 66", ModelId::Luvero, "30", 15, "");
        row("Sorvanell modifier not stored", ModelId::Sorvanell, "12", 8, "");
        row("Sorvanell alert digit", ModelId::Sorvanell, "12", 32, "MorTxtAleDigAler (32)");
        row("Sorvanell key star never read", ModelId::Sorvanell, "12", 26, "");
        row("Sorvanell key digit", ModelId::Sorvanell, "12", 28, "MorTexResCla (22, 24, 28, 30)");
        row("Zentavira memory across the blocks", ModelId::Zentavira, "30", 140,
            "MorTxtUniMe1602 (127-128, 133-146)");
        row("Zentavira duration filler", ModelId::Zentavira, "30", 17, "");
        row("Haldrivonexa long distance", ModelId::Haldrivonexa, "30", 32,
            "MorChkMultResLarDis03 (32), MorChkMultResLarDis04 (32), MorChkMultResLarDis05 (32)");
        row("Haldrivonexa constant 0", ModelId::Haldrivonexa, "30", 31, "");
        row("Quarn key kept twice", ModelId::Quarn, "30", 207, "MorTexResCla (205-209)");
        row("Quarn Dolmeth does not write key 2", ModelId::Quarn, "8", 212, "");
        row("Quarn Dolmeth last memory", ModelId::Quarn, "8", 204, "MorTexFlhNumTel09 (189-204)");
        row("Pellitor local digits", ModelId::Pellitor, "15", 22, "MorComConDLL (22)");
        row("Pellitor allowed calls never read", ModelId::Pellitor, "15", 40, "");
        row("Kovalindre key carried by the frame", ModelId::Kovalindre, "30", 230,
            "MorTxtMulClvClv19 (229-233)");
        row("Kovalindre key beyond the frame", ModelId::Kovalindre, "30", 240, "");
        row("checksum", ModelId::Kovalindre, "30", 262, "");
    }
    void oneChangedDigitNamesItsField() {
        QFETCH(int, model);
        QFETCH(QString, firmware);
        QFETCH(int, position);
        const ModelInfo& m = Model(ModelId(model));
        const QString written = baseMap(m, firmware);
        QString readBack = written;
        readBack[position - 1] = QChar('4');
        const auto diffs = CompareFields(m, firmware, written, readBack);
        QStringList names;
        for (const FieldDifference& d : diffs) names << d.name + " (" + d.positions + ")";
        QTEST(names.join(", "), "expected");
        if (!diffs.empty()) QVERIFY(diffs[0].written != diffs[0].readBack);
    }

    void replyMapAndFirmware_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("ofModel");
        QTest::addColumn<QString>("firmware");
        // clang-format off
        QTest::newRow("Lúvero 30") << int(ModelId::Luvero) << QByteArray("0245001>09") << true << "30";
        // clang-format on
        QTest::newRow("Quarn code with colon")
            << int(ModelId::Quarn) << QByteArray("02450:1>") << true << "30";
        QTest::newRow("Pellitor firmware as characters")
            << int(ModelId::Pellitor) << QByteArray("02450215") << true << "15";
        // clang-format off
        QTest::newRow("another model") << int(ModelId::Luvero) << QByteArray("0245031>") << false << "30";
        // clang-format on
    }
    void replyMapAndFirmware() {
        QFETCH(int, model);
        QFETCH(QByteArray, reply);
        const ModelInfo& m = Model(ModelId(model));
        const QString map = MapOfReply(reply);
        QCOMPARE(map.size(), reply.size() - 4);
        QTEST(MapIsOfModel(map, m), "ofModel");
        QTEST(FirmwareOfMap(map, m), "firmware");
    }
};

QTEST_MAIN(TestFieldLayout)
#include "test_fieldlayout.moc"
