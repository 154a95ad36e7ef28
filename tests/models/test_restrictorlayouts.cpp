// The Zentavira and Haldrivonexa layouts without widgets: fixed-width fields, the split
// memory, the frame without a class code, and every single command of both tables.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/haldrivonexa.h"
#include "core/models/zentavira.h"

using namespace morla;

namespace {
zentavira::Panel zentaviraPanel() {
    zentavira::Panel p;
    p.key = QStringLiteral("1234");
    p.flags = QStringLiteral("0000");
    for (int k = 0; k < zentavira::kShortMemories; ++k) p.shortMemories << QString();
    for (int k = 0; k < zentavira::kLongMemories; ++k) p.longMemories << QString();
    return p;
}
haldrivonexa::Panel haldrivonexaPanel() {
    haldrivonexa::Panel p;
    p.key = QStringLiteral("1234");
    p.flags = QStringLiteral("000000");
    p.prefixes = QString(9, '0');
    p.longDistance = QString(6, '0');
    return p;
}
}  // namespace

class TestRestrictorLayouts : public QObject {
    Q_OBJECT
  private slots:
    void shortFieldsKeepTheirWidth_data() {
        QTest::addColumn<QString>("free");
        QTest::addColumn<QString>("prohibited");
        QTest::addColumn<QString>("trunk");
        QTest::addColumn<QString>("spaced");  // the 18 digits of the three fields
        // clang-format off
        QTest::newRow("full") << "123" << "255" << "9*#" << "010203020505090*0#";
        QTest::newRow("one digit each") << "7" << "0" << "0" << "000007000000000F0F";
        QTest::newRow("empty") << "" << "" << "" << "0000000000000F0F0F";
        // clang-format on
    }
    void shortFieldsKeepTheirWidth() {
        QFETCH(QString, free);
        QFETCH(QString, prohibited);
        QFETCH(QString, trunk);
        QFETCH(QString, spaced);
        zentavira::Panel z = zentaviraPanel();
        z.durationFree = free;
        z.durationProhibited = prohibited;
        z.trunk = trunk;
        const zentavira::Frame zf = zentavira::BuildFrame({"30", "09", "0001", z});
        QCOMPARE(zf.SendData.size(), 248);
        QCOMPARE(zf.SendData.mid(10, 18), spaced);
        QCOMPARE(zf.SendData.mid(28, 4), QStringLiteral("1234"));  // the key stays in place
        QCOMPARE(zf.SendFrame.size(), 266);

        haldrivonexa::Panel h = haldrivonexaPanel();
        h.durationFree = free;
        h.durationProhibited = prohibited;
        h.trunk = trunk;
        const haldrivonexa::Frame hf = haldrivonexa::BuildFrame({"30", "09", "0001", h});
        QCOMPARE(hf.SendData.size(), 39);
        // Trunk first on this model, then the durations after the option and box digits.
        QCOMPARE(hf.SendData.mid(10, 6), spaced.mid(12, 6));
        QCOMPARE(hf.SendData.mid(26, 12), spaced.left(12));
        QVERIFY(hf.SendData.endsWith('f'));
        // Read back: the same texts, the numbers at their width.
        const zentavira::Panel back = zentavira::Decode(zf.SendFrame).panel;
        QCOMPARE(back.durationFree, NumberField(free, 3));
        QCOMPARE(back.trunk, trunk);
        const haldrivonexa::Panel hback = haldrivonexa::Decode(hf.SendFrame);
        QCOMPARE(hback.durationProhibited, NumberField(prohibited, 3));
        QCOMPARE(hback.trunk, trunk);
    }

    void numberDigitsAsRead_data() {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("decimal") << "125" << "125";
        QTest::newRow("device zero") << "1A5" << "105";
        QTest::newRow("empty positions") << "FF7" << "7";
        QTest::newRow("garbage stays visible") << "1B5" << "1B5";
        // clang-format on
    }
    void numberDigitsAsRead() {
        QFETCH(QString, digits);
        QFETCH(QString, shown);
        QString map = zentavira::BuildFrame({"30", "09", "0001", zentaviraPanel()}).SendFrame;
        for (int i = 0; i < 3; ++i) map[17 + 2 * i] = digits[i];  // free duration at 18, 20, 22
        QCOMPARE(zentavira::Decode(map).panel.durationFree, shown);
    }

    // Dial digits go as typed; the checksums count "*" and "#" as 0.
    void memoriesAsTyped() {
        zentavira::Panel z = zentaviraPanel();
        z.shortMemories[0] = QStringLiteral("0*#9");
        z.shortMemories[13] = QStringLiteral("5");
        z.longMemories[2] = QStringLiteral("0123456789*#0123");
        z.longMemories[9] = QStringLiteral("#");
        const zentavira::Frame f = zentavira::BuildFrame({"30", "09", "0001", z});
        QCOMPARE(f.SendFrame.mid(38, 4), QStringLiteral("0*#9"));
        QCOMPARE(f.SendFrame.mid(90, 4), QStringLiteral("5FFF"));
        // Memory 2 around the first checksum: two digits before it, fourteen after "45".
        QCOMPARE(f.SendFrame.mid(126, 2), QStringLiteral("01"));
        QCOMPARE(f.SendFrame.mid(130, 2), QStringLiteral("45"));
        QCOMPARE(f.SendFrame.mid(132, 14), QStringLiteral("23456789*#0123"));
        QCOMPARE(f.SendFrame.mid(242, 16), QStringLiteral("#") + QString(15, 'F'));
        QCOMPARE(f.SendData.mid(32, 4), QStringLiteral("0*#9"));
        QCOMPARE(f.SendData.mid(120, 4), QStringLiteral("0123"));
        QCOMPARE(f.SendFrame.mid(258, 8),
                 FrameChecksum(f.SendFrame.mid(132, 128)).prepend("6E") + QStringLiteral("03FE"));
        QCOMPARE(f.SendFrame.mid(128, 2), FrameChecksum(f.SendFrame.left(128)));
        const zentavira::Panel back = zentavira::Decode(f.SendFrame).panel;
        QCOMPARE(back.shortMemories, z.shortMemories);
        QCOMPARE(back.longMemories, z.longMemories);
    }

    void frameWithoutClassCode() {
        const zentavira::Frame z = zentavira::BuildFrame({"30", "", "0001", zentaviraPanel()});
        QCOMPARE(z.SendFrame.size(), 264);
        QVERIFY(z.SendFrame.startsWith(QStringLiteral("051E00012")));
        // Both checksums are over the map's places, the class code's counted as "00".
        QCOMPARE(BadChecksumBlock(MapOfWriteFrame(z.SendFrame, false), 2), 0);
        const haldrivonexa::Frame h =
            haldrivonexa::BuildFrame({"30", "", "0001", haldrivonexaPanel()});
        QCOMPARE(h.SendFrame.size(), 132);
        QCOMPARE(h.SendFrame.mid(126, 2), FrameChecksum(h.SendFrame.left(126)));
    }

    void optionBits_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("digits");
        // Zentavira digits 12-14 (14 carries a constant 1); Haldrivonexa digits 23-26.
        // clang-format off
        QTest::newRow("Z none") << "Z" << "0000" << "001";
        QTest::newRow("Z 1") << "Z" << "1000" << "011";
        QTest::newRow("Z 2") << "Z" << "0100" << "003";
        QTest::newRow("Z 3") << "Z" << "0010" << "005";
        QTest::newRow("Z 4") << "Z" << "0001" << "101";
        QTest::newRow("H 1") << "H" << "100000" << "0010";
        QTest::newRow("H 2") << "H" << "010000" << "0002";
        QTest::newRow("H 3") << "H" << "001000" << "1000";
        QTest::newRow("H 4") << "H" << "000100" << "2000";
        QTest::newRow("H 5") << "H" << "000010" << "0400";
        QTest::newRow("H 6") << "H" << "000001" << "0004";
        // clang-format on
    }
    void optionBits() {
        QFETCH(QString, model);
        QFETCH(QString, flags);
        QFETCH(QString, digits);
        if (model == QStringLiteral("Z")) {
            zentavira::Panel p = zentaviraPanel();
            p.flags = flags;
            const QString frame = zentavira::BuildFrame({"30", "09", "0001", p}).SendFrame;
            QCOMPARE(frame.mid(11, 3), digits);
            const zentavira::Decoded d = zentavira::Decode(frame);
            QCOMPARE(d.panel.flags, flags);
            QCOMPARE(d.memoryTableFreed, flags.right(1).toInt());
        } else {
            haldrivonexa::Panel p = haldrivonexaPanel();
            p.flags = flags;
            const QString frame = haldrivonexa::BuildFrame({"30", "09", "0001", p}).SendFrame;
            QCOMPARE(frame.mid(22, 4), digits);
            QCOMPARE(haldrivonexa::Decode(frame).flags, flags);
        }
    }

    void boxDigits() {
        haldrivonexa::Panel p = haldrivonexaPanel();
        p.prefixes = QStringLiteral("100010001");
        p.longDistance = QStringLiteral("011110");
        const QString frame = haldrivonexa::BuildFrame({"30", "09", "0001", p}).SendFrame;
        QCOMPARE(frame.mid(26, 6), QStringLiteral("421306"));
        const haldrivonexa::Panel back = haldrivonexa::Decode(frame);
        QCOMPARE(back.prefixes, p.prefixes);
        QCOMPARE(back.longDistance, p.longDistance);
    }

    void singleCommands_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("command");   // "" when none is built
        QTest::addColumn<QString>("sendData");  // "-" when left as it was
        QTest::addColumn<QString>("newIndex");  // "-" when left as it was
        // clang-format off
        QTest::newRow("Z restrictor 1")   << "Z" << "1"  << "1"    << ""   << "#24,1234,9"        << "9"    << "-";
        QTest::newRow("Z restrictor 2")   << "Z" << "2"  << "0"    << ""   << "#25,1234,0"        << "0"    << "-";
        QTest::newRow("Z restrictor 6")   << "Z" << "6"  << "1"    << ""   << "#26,1234,9"        << "9"    << "-";
        QTest::newRow("Z restrictor 3")   << "Z" << "3"  << "1"    << ""   << ""                  << "-"    << "-";
        QTest::newRow("Z key")            << "Z" << "10" << "1"    << ""   << "#205555,1234"      << "-"    << "-";
        QTest::newRow("Z table freed")    << "Z" << "11" << "1"    << ""   << "#28,1234,9"        << "9"    << "-";
        QTest::newRow("Z prohibited 1")   << "Z" << "12" << "1"    << ""   << "#21,1234,1"        << "1"    << "-";
        QTest::newRow("Z free 0")         << "Z" << "13" << "0"    << ""   << "#22,1234,0"        << "0"    << "-";
        QTest::newRow("Z trunk")          << "Z" << "14" << "9*#"  << ""   << "#23,1234,9,*,#"    << "9*#"  << "-";
        QTest::newRow("Z trunk short")    << "Z" << "14" << "1"    << ""   << "#23,1234,1,F,F"    << "1"    << "-";
        QTest::newRow("Z memory 4 of 3")  << "Z" << "15" << "12*"  << "3"  << "#271234,03,12*"    << "12*"  << "03";
        QTest::newRow("Z memory 4 of 13") << "Z" << "15" << "1"    << "13" << "#271234,13,1"      << "1"    << "13";
        QTest::newRow("Z memory 16 of 0") << "Z" << "16" << "1"    << "13" << "#271234,14,1"      << "1"    << "14";
        QTest::newRow("Z memory 16 of 9") << "Z" << "16" << "0#"   << "22" << "#271234,23,0#"     << "0#"   << "23";
        QTest::newRow("Z erase")          << "Z" << "17" << "1"    << ""   << "#301234"           << "-"    << "-";
        QTest::newRow("Z other")          << "Z" << "9"  << "1"    << ""   << ""                  << "-"    << "-";
        QTest::newRow("H restrictor 1")   << "H" << "1"  << "1"    << ""   << "#50,1234,9"        << "9"    << "-";
        QTest::newRow("H restrictor 2")   << "H" << "2"  << "0"    << ""   << "#52,1234,0"        << "0"    << "-";
        QTest::newRow("H restrictor 3")   << "H" << "3"  << "1"    << ""   << "#64,1234,9"        << "9"    << "-";
        QTest::newRow("H restrictor 4")   << "H" << "4"  << "1"    << ""   << "#53,1234,9"        << "9"    << "-";
        QTest::newRow("H restrictor 5")   << "H" << "5"  << "1"    << ""   << "#71,1234,9"        << "9"    << "-";
        QTest::newRow("H restrictor 6")   << "H" << "6"  << "1"    << ""   << "#54,1234,9"        << "9"    << "-";
        QTest::newRow("H key")            << "H" << "10" << "1"    << ""   << "#20,5555,1234"     << "-"    << "-";
        QTest::newRow("H prohibited")     << "H" << "11" << "1"    << ""   << "#21,1234,1"        << "1"    << "-";
        QTest::newRow("H free")           << "H" << "12" << "250"  << ""   << "#22,1234,250"      << "250"  << "-";
        QTest::newRow("H trunk")          << "H" << "13" << "#0"   << ""   << "#23,1234,#,0,F"    << "#0"   << "-";
        QTest::newRow("H prefix 0")       << "H" << "14" << "1"    << "0"  << "#41,1234,9"        << "9"    << "-";
        QTest::newRow("H prefix 8")       << "H" << "14" << "0"    << "8"  << "#49,1234,0"        << "0"    << "-";
        QTest::newRow("H distance 0")     << "H" << "15" << "1"    << "0"  << "#51,1234,9"        << "9"    << "51";
        QTest::newRow("H distance 1")     << "H" << "15" << "1"    << "1"  << "#55,1234,9"        << "9"    << "55";
        QTest::newRow("H distance 2")     << "H" << "15" << "1"    << "2"  << "#58,1234,9"        << "9"    << "58";
        QTest::newRow("H distance 3")     << "H" << "15" << "1"    << "3"  << "#61,1234,9"        << "9"    << "61";
        QTest::newRow("H distance 4")     << "H" << "15" << "1"    << "4"  << "#62,1234,9"        << "9"    << "62";
        QTest::newRow("H distance 5")     << "H" << "15" << "0"    << "5"  << "#63,1234,0"        << "0"    << "63";
        QTest::newRow("H other")          << "H" << "16" << "1"    << ""   << ""                  << "-"    << "-";
        // clang-format on
    }
    void singleCommands() {
        QFETCH(QString, model);
        QFETCH(QString, number);
        QFETCH(QString, value);
        QFETCH(QString, index);
        QFETCH(QString, command);
        QFETCH(QString, sendData);
        QFETCH(QString, newIndex);
        const CommandInput in{number, value, index, "1234", "5555", "Activado", ","};
        const SingleCommand out = model == QStringLiteral("Z") ? zentavira::CompleteSend(in)
                                                               : haldrivonexa::CompleteSend(in);
        QCOMPARE(out.CommandString.value_or(QString()), command);
        QCOMPARE(out.SendData.value_or(QStringLiteral("-")), sendData);
        QCOMPARE(out.CommandIndex.value_or(QStringLiteral("-")), newIndex);

        // Without a valid key only the key change is built; the value is still taken.
        CommandInput refused = in;
        refused.keyStatus = QStringLiteral("DesActivado");
        const SingleCommand none = model == QStringLiteral("Z")
                                       ? zentavira::CompleteSend(refused)
                                       : haldrivonexa::CompleteSend(refused);
        QCOMPARE(none.CommandString.has_value(), number == QStringLiteral("10"));
        QCOMPARE(none.SendData.value_or(QStringLiteral("-")), sendData);
    }
};

QTEST_MAIN(TestRestrictorLayouts)
#include "test_restrictorlayouts.moc"
