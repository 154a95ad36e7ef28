// The field layouts of the maps: every digit a model's decoder reads lies in a field, every
// field is read, and comparing a written map with a read-back one names exactly the fields
// that differ, whatever way the device keeps its characters.
#include <QtTest>
#include <set>

#include "core/codec/codec.h"
#include "core/models/fieldlayout.h"
#include "core/models/haldrivonexa.h"
#include "core/models/kovalindre.h"
#include "core/models/luvero.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "core/models/sorvanell.h"
#include "core/models/tervolinda.h"
#include "core/models/zentavira.h"

using namespace morla;

namespace {

// Everything a model's decoder takes from a map, as one text.
QString decodeAll(const ModelInfo& m, const QString& firmware, const QString& map) {
    QStringList out;
    switch (m.id) {
        case ModelId::Luvero:
            out << luvero::DecodeKey(map) << luvero::DecodeFlags(map);
            break;
        case ModelId::Zentavira: {
            const auto d = zentavira::Decode(map);
            out << d.panel.key << d.panel.flags << d.panel.durationFree
                << d.panel.durationProhibited << d.panel.trunk << d.panel.shortMemories
                << d.panel.longMemories << QString::number(d.memoryTableFreed);
            break;
        }
        case ModelId::Haldrivonexa: {
            const auto d = haldrivonexa::Decode(map);
            out << d.key << d.flags << d.durationFree << d.durationProhibited << d.trunk
                << d.prefixes << d.longDistance;
            break;
        }
        case ModelId::Sorvanell:
            out << sorvanell::DecodeKey(map) << sorvanell::DecodeProgramming(map)
                << sorvanell::DecodeFlags(map) << QString::number(sorvanell::DecodeTone(map))
                << QString::number(sorvanell::DecodeBlqGrb(map)) << sorvanell::DecodeCount(map)
                << sorvanell::DecodeAlertDigit(map);
            break;
        case ModelId::Tervolinda:
            if (const auto f = tervolinda::DecodeMap(map, firmware))
                out << f->key << f->exitKey << QString::number(f->removeFirst1)
                    << QString::number(f->blockStart9);
            break;
        case ModelId::Quarn:
        case ModelId::Pellitor:
        case ModelId::Kovalindre: {
            const longreply::Layout& layout = m.id == ModelId::Quarn      ? quarn::Layout(firmware)
                                              : m.id == ModelId::Pellitor ? pellitor::Layout()
                                                                          : kovalindre::Layout();
            const auto v = longreply::Decode(layout, map);
            out << v.key << v.flags << v.trunk << v.localDigits;
            for (auto it = v.boxes.begin(); it != v.boxes.end(); ++it)
                out << it.key() + '=' + it.value();
            break;
        }
    }
    return out.join('|');
}

int mapLength(const ModelInfo& m) {
    return m.replyLength - 4;
}

// Checksums and trailers: the device computes them, no field holds them.
bool outsideFields(const ModelInfo& m, int position) {
    if (position > 128 && position < 133) return true;
    if (m.blocks() == 1) return position > 128;
    return position > 258;
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

const MapField* fieldAt(const std::vector<MapField>& layout, int position) {
    for (const MapField& f : layout) {
        if (position >= f.at && position < f.at + f.length) return &f;
        if (f.length2 > 0 && position >= f.at2 && position < f.at2 + f.length2) return &f;
    }
    return nullptr;
}

// Fields that a whole write sets and no read shows.
const std::set<QString> kWrittenOnly{QStringLiteral("MorTexConSMNP"),
                                     QStringLiteral("MorTexConLDNP")};

void addModelRows() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("firmware");
    for (const ModelInfo& m : Models())
        QTest::newRow(qPrintable(m.dispatch())) << int(m.id) << m.firmware();
    QTest::newRow("Quarn Dolmeth") << int(ModelId::Quarn) << QStringLiteral("8");
    QTest::newRow("Tervolinda Voz") << int(ModelId::Tervolinda) << QStringLiteral("2");
}

}  // namespace

class TestFieldLayout : public QObject {
    Q_OBJECT
  private slots:
    void fieldsFitTheMapWithoutOverlap_data() { addModelRows(); }
    void fieldsFitTheMapWithoutOverlap() {
        QFETCH(int, model);
        QFETCH(QString, firmware);
        const ModelInfo& m = Model(ModelId(model));
        const auto layout = FieldLayout(m, firmware);
        QVERIFY(layout.size() > 4);
        std::set<int> taken;
        for (const MapField& f : layout) {
            QVERIFY2(f.at >= 1 && f.last() <= mapLength(m), qPrintable(f.name));
            for (int k = 0; k < f.length + f.length2; ++k) {
                const int position = k < f.length ? f.at + k : f.at2 + k - f.length;
                QVERIFY2(!outsideFields(m, position), qPrintable(f.name + f.positions()));
                QVERIFY2(taken.insert(position).second,
                         qPrintable(QStringLiteral("%1 overlaps at %2").arg(f.name).arg(position)));
            }
        }
    }

    // A change anywhere the decoder looks must be inside a field, and every field read must
    // have a digit the decoder looks at.
    void decoderReadsExactlyTheFields_data() { addModelRows(); }
    void decoderReadsExactlyTheFields() {
        QFETCH(int, model);
        QFETCH(QString, firmware);
        const ModelInfo& m = Model(ModelId(model));
        const auto layout = FieldLayout(m, firmware);
        const QString base = baseMap(m, firmware);
        const QString decoded = decodeAll(m, firmware, base);
        std::set<QString> seen;
        for (int position = 11; position <= mapLength(m); ++position) {
            QString changed = base;
            changed[position - 1] = DigitToHex(HexToDigit(base.mid(position - 1, 1)) ^ 0xF).at(0);
            if (decodeAll(m, firmware, changed) == decoded) continue;
            const MapField* f = fieldAt(layout, position);
            QVERIFY2(
                f, qPrintable(QStringLiteral("position %1 is read but in no field").arg(position)));
            seen.insert(f->name);
        }
        // A value kept in two places (the long replies' key) is read from one of them.
        for (const MapField& f : layout) {
            if (f.at < 11 || kWrittenOnly.count(f.name)) continue;
            QVERIFY2(seen.count(f.name), qPrintable(f.name + QStringLiteral(" is never read")));
        }
    }

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
        row("Lúvero firmware", ModelId::Luvero, "30", 4, "");
        row("Sorvanell modifier not stored", ModelId::Sorvanell, "12", 8, "");
        row("Sorvanell alert digit", ModelId::Sorvanell, "12", 32, "MorTxtAleDigAler (31-32)");
        row("Zentavira memory across the blocks", ModelId::Zentavira, "30", 140,
            "MorTxtUniMe1602 (127-128, 133-146)");
        row("Zentavira last memory", ModelId::Zentavira, "30", 258, "MorTxtUniMe1609 (243-258)");
        row("Haldrivonexa long distance", ModelId::Haldrivonexa, "30", 31,
            "MorChkMultResLarDis (30-32)");
        row("Quarn key kept twice", ModelId::Quarn, "30", 207, "MorTexResCla (205-210)");
        row("Quarn key 5", ModelId::Quarn, "30", 234, "MorTexFlhClv04 (229-234)");
        row("Quarn Dolmeth does not write key 2", ModelId::Quarn, "8", 212, "");
        row("Quarn Dolmeth last memory", ModelId::Quarn, "8", 204, "MorTexFlhNumTel09 (189-204)");
        row("Pellitor local digits", ModelId::Pellitor, "15", 22, "MorComConDLL (22)");
        row("Pellitor allowed calls", ModelId::Pellitor, "15", 40, "MorTexConSMNP (37-42)");
        row("Kovalindre key carried by the frame", ModelId::Kovalindre, "30", 230,
            "MorTxtMulClvClv19 (229-234)");
        row("Kovalindre key beyond the frame", ModelId::Kovalindre, "30", 240, "");
        row("checksum", ModelId::Kovalindre, "30", 262, "");
    }
    void oneChangedDigitNamesItsField() {
        QFETCH(int, model);
        QFETCH(QString, firmware);
        QFETCH(int, position);
        QFETCH(QString, expected);
        const ModelInfo& m = Model(ModelId(model));
        const QString written = baseMap(m, firmware);
        QString readBack = written;
        readBack[position - 1] = QChar('4');
        const auto diffs = CompareFields(FieldLayout(m, firmware), written, readBack);
        QStringList names;
        for (const FieldDifference& d : diffs) names << d.name + " (" + d.positions + ")";
        QCOMPARE(names.join(", "), expected);
        if (!diffs.empty()) {
            QVERIFY(!diffs[0].written.contains('4'));
            QCOMPARE(diffs[0].readBack.count('4'), 1);
        }
    }

    // A Lúvero frame as built for a write, against the map a device keeps after it: equal
    // with or without an installation class code in the frame.
    void luveroFrameAgainstTheDevice_data() {
        QTest::addColumn<QString>("classCode");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("deviceKey");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("with class") << "09" << "1034" << "1A34" << "";
        QTest::newRow("without class") << "" << "1034" << "1A34" << "";
        // clang-format on
        QTest::newRow("key differs") << ""
                                     << "1034"
                                     << "1A35"
                                     << "MorTexResCla (11-14): escrito 1034, leído 1035";
    }
    void luveroFrameAgainstTheDevice() {
        QFETCH(QString, classCode);
        QFETCH(QString, key);
        QFETCH(QString, deviceKey);
        QFETCH(QString, expected);
        const QString flags = QStringLiteral("101001");
        const auto frame = luvero::BuildFrame({"30", classCode, "0007", key, flags});
        const QString digits = EncodeOptionDigits(flags, luvero::kOptionBits, 17, 4);
        const QString block = QStringLiteral("001E090007") + deviceKey + QStringLiteral("66") +
                              digits + QStringLiteral("6E") + QString(106, 'F');
        const QString device = block + FrameChecksum(block) + QStringLiteral("03FE");
        const auto diffs =
            CompareFields(FieldLayout(Model(ModelId::Luvero), "30"),
                          MapOfWriteFrame(frame.SendFrame, !classCode.isEmpty()), device);
        QCOMPARE(DifferencesText(diffs), expected);
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
        QFETCH(bool, ofModel);
        QFETCH(QString, firmware);
        const ModelInfo& m = Model(ModelId(model));
        const QString map = MapOfReply(reply);
        QCOMPARE(map.size(), reply.size() - 4);
        QCOMPARE(MapIsOfModel(map, m), ofModel);
        QCOMPARE(FirmwareOfMap(map, m), firmware);
    }
};

QTEST_MAIN(TestFieldLayout)
#include "test_fieldlayout.moc"
