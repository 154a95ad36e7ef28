// Layouts without widgets. The Zentavira's and Haldrivonexa's: fixed-width fields, the split
// memory, the frame without a class code, and the edges of their single commands. Every model's:
// comparing a written map with a read-back one names exactly the fields whose shown text
// differs, whatever way the device keeps its characters, and never a place no read decodes.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/fieldlayout.h"
#include "core/models/haldrivonexa.h"
#include "core/models/zentavira.h"
#include "support/programfixture.h"

using namespace morla;

namespace {
struct Written {
    QString map, data, frame;
};
Written write(const layout::Layout& l, const char* kind, const QString& classCode,
              const layout::Values& v) {
    const QString map =
        layout::WrittenMap(l, layout::Header(QLatin1String(kind), "30", classCode, "0001"), v);
    return {map, layout::DataText(l, map), layout::Frame(l, map, !classCode.isEmpty())};
}
Written writeZentavira(const layout::Values& v, const QString& classCode = QStringLiteral("09")) {
    layout::Values all{{"MorTexResCla", "1234"}, {"MorTexBan", "0000"}};
    all.insert(v);
    return write(zentavira::Layout(), "05", classCode, all);
}
Written writeHaldrivonexa(const layout::Values& v,
                          const QString& classCode = QStringLiteral("09")) {
    layout::Values all{{"MorTexResCla", "1234"}, {"MorTexBan", "000000"}};
    all.insert(v);
    return write(haldrivonexa::Layout(), "03", classCode, all);
}
QString shown(const layout::Layout& l, const QString& map, const QString& control) {
    return layout::Decode(l, map).value(control);
}
QString element(const char* array, int k) {
    return QLatin1String(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

// A map of "3" digits after the model's header; the Tervolinda's options on ("09"), so that
// any change to them shows.
QString baseMap(const ModelInfo& m, const QString& firmware) {
    QString code = m.code();
    code.replace(':', 'A');
    QString map = code + firmware.rightJustified(2, '0') + QStringLiteral("090001");
    map = map.leftJustified(m.replyLength - 4, '3');
    if (m.id == ModelId::Tervolinda) map.replace(10, 4, QStringLiteral("0909"));
    return map;
}
}  // namespace

// spaced: the 18 digits of the three fields
using WidthRow = std::tuple<QString, QString, QString, QString>;
// command: "" when none is built; sendData and kept (the index): "-" when left as they were
using CommandRow = std::tuple<QString, QString, QString, QString, QString, QString, QString>;
// expected: "" for no difference
using ChangedDigitRow = std::tuple<int, QString, int, QString>;

class TestRestrictorLayouts : public QObject {
    Q_OBJECT
  private slots:
    void shortFieldsKeepTheirWidth_data() {
        QTest::addColumn<WidthRow>("row");
        QTest::newRow("full") << WidthRow{"123", "255", "9*#", "010203020505090*0#"};
        QTest::newRow("one digit each") << WidthRow{"7", "0", "0", "000007000000000F0F"};
        QTest::newRow("empty") << WidthRow{"", "", "", "0000000000000F0F0F"};
    }
    void shortFieldsKeepTheirWidth() {
        QFETCH_ROW(WidthRow, free, prohibited, trunk, spaced);
        const Written z = writeZentavira(
            {{"MorTexUniDurL", free}, {"MorTexUniDurP", prohibited}, {"MorTexUniCon", trunk}});
        QCOMPARE(z.data.size(), 248);
        QCOMPARE(z.data.mid(10, 18), spaced);
        QCOMPARE(z.data.mid(28, 4), QStringLiteral("1234"));  // the key stays in place
        QCOMPARE(z.frame.size(), 266);

        const Written h = writeHaldrivonexa(
            {{"MorTexMultDurL", free}, {"MorTexMultDurP", prohibited}, {"MorTexMultCon", trunk}});
        QCOMPARE(h.data.size(), 39);
        // Trunk first on this model, then the durations after the option and box digits.
        QCOMPARE(h.data.mid(10, 6), spaced.mid(12, 6));
        QCOMPARE(h.data.mid(26, 12), spaced.left(12));
        QVERIFY(h.data.endsWith('f'));
        // Read back: the same texts, the numbers at their width.
        QCOMPARE(shown(zentavira::Layout(), z.map, "MorTexUniDurL"), NumberField(free, 3));
        QCOMPARE(shown(zentavira::Layout(), z.map, "MorTexUniCon"), trunk);
        QCOMPARE(shown(haldrivonexa::Layout(), h.map, "MorTexMultDurP"),
                 NumberField(prohibited, 3));
        QCOMPARE(shown(haldrivonexa::Layout(), h.map, "MorTexMultCon"), trunk);
    }

    void numberDigitsAsRead_data() {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("device zero") << "1A5" << "105";
        QTest::newRow("empty positions") << "FF7" << "7";
        QTest::newRow("garbage stays visible") << "1B5" << "1B5";
        // clang-format on
    }
    void numberDigitsAsRead() {
        QFETCH(QString, digits);
        QString map = writeZentavira({}).map;
        for (int i = 0; i < 3; ++i) map[17 + 2 * i] = digits[i];  // free duration at 18, 20, 22
        QTEST(shown(zentavira::Layout(), map, "MorTexUniDurL"), "shown");
    }

    // Dial digits go as typed; the checksums count "*" and "#" as 0.
    void memoriesAsTyped() {
        const layout::Values v{{"MorTxtUniMe400", "0*#9"},
                               {"MorTxtUniMe413", "5"},
                               {"MorTxtUniMe1602", "0123456789*#0123"},
                               {"MorTxtUniMe1609", "#"}};
        const Written f = writeZentavira(v);
        QCOMPARE(f.frame.mid(38, 4), QStringLiteral("0*#9"));
        QCOMPARE(f.frame.mid(90, 4), QStringLiteral("5FFF"));
        // Memory 2 around the first checksum: two digits before it, fourteen after "45".
        QCOMPARE(f.frame.mid(126, 2), QStringLiteral("01"));
        QCOMPARE(f.frame.mid(130, 2), QStringLiteral("45"));
        QCOMPARE(f.frame.mid(132, 14), QStringLiteral("23456789*#0123"));
        QCOMPARE(f.frame.mid(242, 16), QStringLiteral("#") + QString(15, 'F'));
        QCOMPARE(f.data.mid(32, 4), QStringLiteral("0*#9"));
        QCOMPARE(f.data.mid(120, 4), QStringLiteral("0123"));
        QCOMPARE(f.frame.mid(258, 8),
                 FrameChecksum(f.frame.mid(132, 128)).prepend("6E") + QStringLiteral("03FE"));
        QCOMPARE(f.frame.mid(128, 2), FrameChecksum(f.frame.left(128)));
        for (auto it = v.begin(); it != v.end(); ++it)
            QCOMPARE(shown(zentavira::Layout(), f.map, it.key()), it.value());
        QCOMPARE(shown(zentavira::Layout(), f.map, "MorTxtUniMe401"), QString());
    }

    void frameWithoutClassCode() {
        const Written z = writeZentavira({}, "");
        QCOMPARE(z.frame.size(), 264);
        QVERIFY(z.frame.startsWith(QStringLiteral("051E00012")));
        // Both checksums are over the map's places, the class code's counted as "00".
        QCOMPARE(BadChecksumBlock(MapOfWriteFrame(z.frame, false), 2), 0);
        const Written h = writeHaldrivonexa({}, "");
        QCOMPARE(h.frame.size(), 132);
        QCOMPARE(h.frame.mid(126, 2), FrameChecksum(h.frame.left(126)));
    }

    // Zentavira digits 12-14 (14 carries a constant 1); Haldrivonexa digits 23-26. "all" pins
    // where each bit goes; the single rows tell apart the bits that share a digit.
    void optionBits_data() {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("digits");
        // clang-format off
        QTest::newRow("Z none") << "0000" << "001";
        QTest::newRow("Z all") << "1111" << "117";
        QTest::newRow("Z 2") << "0100" << "003";
        QTest::newRow("H all") << "111111" << "3416";
        QTest::newRow("H 2") << "010000" << "0002";
        QTest::newRow("H 3") << "001000" << "1000";
        // clang-format on
    }
    void optionBits() {
        QFETCH(QString, flags);
        QFETCH(QString, digits);
        if (flags.size() == 4) {
            const Written z = writeZentavira({{"MorTexBan", flags}});
            QCOMPARE(z.frame.mid(11, 3), digits);
            QCOMPARE(shown(zentavira::Layout(), z.map, "MorTexBan"), flags);
            QCOMPARE(zentavira::MemoryTableFreed(z.map), flags.right(1).toInt());
        } else {
            const Written h = writeHaldrivonexa({{"MorTexBan", flags}});
            QCOMPARE(h.frame.mid(22, 4), digits);
            QCOMPARE(shown(haldrivonexa::Layout(), h.map, "MorTexBan"), flags);
        }
    }

    void boxDigits() {
        const QString prefixes = QStringLiteral("100010001"), distance = QStringLiteral("011110");
        layout::Values v;
        for (int k = 0; k < 9; ++k) v[element("MorChkMultResNum0XX", k)] = prefixes.mid(k, 1);
        for (int k = 0; k < 6; ++k) v[element("MorChkMultResLarDis", k)] = distance.mid(k, 1);
        const Written h = writeHaldrivonexa(v);
        QCOMPARE(h.frame.mid(26, 6), QStringLiteral("421306"));
        const layout::Values back = layout::Decode(haldrivonexa::Layout(), h.map);
        for (auto it = v.begin(); it != v.end(); ++it) QCOMPARE(back.value(it.key()), it.value());
    }

    // The edges of both command tables; the end-to-end tests send every command of each.
    void singleCommands_data() {
        QTest::addColumn<CommandRow>("row");
        // clang-format off
        QTest::newRow("Z restrictor 3")   << CommandRow{"Z", "3",  "1",  "",   "",               "-",  "-"};
        QTest::newRow("Z key")            << CommandRow{"Z", "10", "1",  "",   "#205555,1234",   "-",  "-"};
        QTest::newRow("Z trunk short")    << CommandRow{"Z", "14", "1",  "",   "#23,1234,1,F,F", "1",  "-"};
        QTest::newRow("Z memory 4 of 13") << CommandRow{"Z", "15", "1",  "13", "#271234,13,1",   "1",  "13"};
        QTest::newRow("Z memory 16 of 0") << CommandRow{"Z", "16", "1",  "13", "#271234,14,1",   "1",  "14"};
        QTest::newRow("Z other")          << CommandRow{"Z", "9",  "1",  "",   "",               "-",  "-"};
        QTest::newRow("H key")            << CommandRow{"H", "10", "1",  "",   "#20,5555,1234",  "-",  "-"};
        QTest::newRow("H trunk")          << CommandRow{"H", "13", "#0", "",   "#23,1234,#,0,F", "#0", "-"};
        QTest::newRow("H distance 5")     << CommandRow{"H", "15", "0",  "5",  "#63,1234,0",     "0",  "63"};
        QTest::newRow("H other")          << CommandRow{"H", "16", "1",  "",   "",               "-",  "-"};
        // clang-format on
    }
    void singleCommands() {
        QFETCH_ROW(CommandRow, model, number, value, index, command, sendData, kept);
        const CommandInput in{number, value, index, "1234", "5555", "Activado", ","};
        const SingleCommand out = model == QStringLiteral("Z") ? zentavira::CompleteSend(in)
                                                               : haldrivonexa::CompleteSend(in);
        QCOMPARE(out.CommandString.value_or(QString()), command);
        QCOMPARE(out.SendData.value_or(QStringLiteral("-")), sendData);
        QCOMPARE(out.CommandIndex.value_or(QStringLiteral("-")), kept);

        // Without a valid key only the key change is built; the value is still taken.
        CommandInput refused = in;
        refused.keyStatus = QStringLiteral("DesActivado");
        const SingleCommand none = model == QStringLiteral("Z")
                                       ? zentavira::CompleteSend(refused)
                                       : haldrivonexa::CompleteSend(refused);
        QCOMPARE(none.CommandString.has_value(), number == QStringLiteral("10"));
        QCOMPARE(none.SendData.value_or(QStringLiteral("-")), sendData);
    }

    // One digit of the read-back changed: the comparison names the field that holds it, or
    // nothing when no compared field does.
    void oneChangedDigitNamesItsField_data() {
        QTest::addColumn<ChangedDigitRow>("row");
        const auto row = [](const char* name, ModelId id, const char* fw, int at,
                            const char* expected) {
            QTest::newRow(name) << ChangedDigitRow{int(id), QString::fromLatin1(fw), at,
                                                   QString::fromLatin1(expected)};
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
        QFETCH_ROW(ChangedDigitRow, model, firmware, position, expected);
        const ModelInfo& m = Model(ModelId(model));
        const QString written = baseMap(m, firmware);
        QString readBack = written;
        readBack[position - 1] = QChar('4');
        const auto diffs = CompareFields(m, firmware, written, readBack);
        QStringList names;
        for (const FieldDifference& d : diffs) names << d.name + " (" + d.positions + ")";
        QCOMPARE(names.join(", "), expected);
        if (!diffs.empty()) QVERIFY(diffs[0].written != diffs[0].readBack);
    }
};

QTEST_MAIN(TestRestrictorLayouts)
#include "test_restrictorlayouts.moc"
