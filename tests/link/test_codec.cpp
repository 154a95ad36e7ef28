// Digit, hex and nibble helpers: known values, boundaries and malformed texts.
#include <QRandomGenerator>
#include <QtTest>

#include "link/codec.h"

using namespace morla;

namespace {

// Texts no caller should send but a garbled reply or a careless box can produce.
QStringList oddTexts() {
    return {QString(),
            QStringLiteral(" "),
            QStringLiteral("0"),
            QStringLiteral("a"),
            QStringLiteral("ff"),
            QStringLiteral("-"),
            QStringLiteral("-1"),
            QStringLiteral("+"),
            QStringLiteral("99999999999999999999999999"),
            QStringLiteral("-99999999999999999999999999"),
            QStringLiteral("1e9"),
            QStringLiteral("0x1F"),
            QStringLiteral("ñáó"),
            QString(QChar(0)),
            QStringLiteral("\U0001F4DE"),  // one character outside the BMP
            QString(QChar(0xDC00)),        // a lone low surrogate
            QString(70000, QChar('F')),
            QString(70001, QChar('7'))};
}

}  // namespace

class TestCodec : public QObject {
    Q_OBJECT

  private slots:
    void digitToHex_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("hex");
        QTest::newRow("0") << 0 << "0";
        QTest::newRow("9") << 9 << "9";
        QTest::newRow("10") << 10 << "A";
        QTest::newRow("12") << 12 << "C";
        QTest::newRow("15") << 15 << "F";
        QTest::newRow("16 none") << 16 << "";
        QTest::newRow("-1 none") << -1 << "";
        QTest::newRow("int max") << std::numeric_limits<int>::max() << "";
        QTest::newRow("int min") << std::numeric_limits<int>::min() << "";
    }
    void digitToHex() {
        QFETCH(int, n);
        QFETCH(QString, hex);
        QCOMPARE(DigitToHex(n), hex);
    }

    void hexToDigit_data() {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<int>("value");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("9") << "9" << 9;
        QTest::newRow("A") << "A" << 10;
        QTest::newRow("F") << "F" << 15;
        QTest::newRow("lower a") << "a" << 0;
        QTest::newRow("lower f") << "f" << 0;
        QTest::newRow("G") << "G" << 0;
        QTest::newRow("before 0") << "/" << 0;
        QTest::newRow("colon after 9") << ":" << 0;
        QTest::newRow("at before A") << "@" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("two characters") << "AB" << 0;
        QTest::newRow("full-width digit") << QString(QChar(0xFF11)) << 0;
        QTest::newRow("enye") << "ñ" << 0;
    }
    void hexToDigit() {
        QFETCH(QString, ch);
        QFETCH(int, value);
        QCOMPARE(HexToDigit(ch), value);
    }

    void hexToDec_data() {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("dec");
        QTest::newRow("1E") << "1E"
                            << "30";
        QTest::newRow("09 no leading zero") << "09"
                                            << "9";
        QTest::newRow("00") << "00"
                            << "0";
        QTest::newRow("FF") << "FF"
                            << "255";
        QTest::newRow("10") << "10"
                            << "16";
        QTest::newRow("one character counts as high digit") << "A"
                                                            << "160";
        QTest::newRow("empty") << ""
                               << "0";
        QTest::newRow("lower case digits count 0") << "ff"
                                                   << "0";
        QTest::newRow("bad second digit") << "1G"
                                          << "16";
        QTest::newRow("third character ignored") << "123"
                                                 << "18";
    }
    void hexToDec() {
        QFETCH(QString, hex);
        QFETCH(QString, dec);
        QCOMPARE(HexToDec(hex), dec);
    }

    void decToHex2_data() {
        QTest::addColumn<QString>("dec");
        QTest::addColumn<QString>("hex");
        QTest::newRow("30") << "30"
                            << "1E";
        QTest::newRow("9 padded") << "9"
                                  << "09";
        QTest::newRow("0") << "0"
                           << "00";
        QTest::newRow("255") << "255"
                             << "FF";
        QTest::newRow("16") << "16"
                            << "10";
        QTest::newRow("15") << "15"
                            << "0F";
        QTest::newRow("256 loses first digit") << "256"
                                               << "0";
        QTest::newRow("300 loses first digit") << "300"
                                               << "C";
        QTest::newRow("4095") << "4095"
                              << "F";
        QTest::newRow("leading blanks") << "  72"
                                        << "48";
        QTest::newRow("empty reads as 0") << ""
                                          << "00";
        QTest::newRow("digits then junk") << "12ab"
                                          << "0C";
    }
    void decToHex2() {
        QFETCH(QString, dec);
        QFETCH(QString, hex);
        QCOMPARE(DecToHex2(dec), hex);
    }

    void decToHex4_data() {
        QTest::addColumn<QString>("dec");
        QTest::addColumn<QString>("hex");
        QTest::newRow("0") << "0"
                           << "0000";
        QTest::newRow("30") << "30"
                            << "001E";
        QTest::newRow("255") << "255"
                             << "00FF";
        QTest::newRow("256") << "256"
                             << "0100";
        QTest::newRow("511") << "511"
                             << "01FF";
        QTest::newRow("4096") << "4096"
                              << "1000";
        QTest::newRow("32767") << "32767"
                               << "7FFF";
        QTest::newRow("65536 wraps") << "65536"
                                     << "0000";
        QTest::newRow("65537 wraps") << "65537"
                                     << "0001";
        QTest::newRow("131071 wraps") << "131071"
                                      << "FFFF";
        QTest::newRow("empty") << ""
                               << "0000";
    }
    void decToHex4() {
        QFETCH(QString, dec);
        QFETCH(QString, hex);
        QCOMPARE(DecToHex4(dec), hex);
    }

    void bitsToHex_data() {
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QString>("hex");
        QTest::newRow("0000") << "0000"
                              << "00";
        QTest::newRow("0101") << "0101"
                              << "05";
        QTest::newRow("1111") << "1111"
                              << "0F";
        QTest::newRow("1000 msb first") << "1000"
                                        << "08";
        QTest::newRow("0001") << "0001"
                              << "01";
        QTest::newRow("1010") << "1010"
                              << "0A";
        QTest::newRow("three bits") << "101"
                                    << "";
        QTest::newRow("five bits") << "01010"
                                   << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("a 2") << "0102"
                             << "";
        QTest::newRow("blank") << " 101"
                               << "";
        QTest::newRow("letters") << "abcd"
                                 << "";
    }
    void bitsToHex() {
        QFETCH(QString, bits);
        QFETCH(QString, hex);
        QCOMPARE(BitsToHex(bits), hex);
    }

    void hexToBits_data() {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("bits");
        QTest::newRow("00") << "00"
                            << "0000";
        QTest::newRow("05") << "05"
                            << "0101";
        QTest::newRow("0A") << "0A"
                            << "1010";
        QTest::newRow("0F") << "0F"
                            << "1111";
        QTest::newRow("08") << "08"
                            << "1000";
        QTest::newRow("09") << "09"
                            << "1001";
        QTest::newRow("lower case") << "0a"
                                    << "";
        QTest::newRow("no leading 0") << "1A"
                                      << "";
        QTest::newRow("one character") << "A"
                                       << "";
        QTest::newRow("three characters") << "000"
                                          << "";
        QTest::newRow("not hex") << "0G"
                                 << "";
        QTest::newRow("colon") << "0:"
                               << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void hexToBits() {
        QFETCH(QString, hex);
        QFETCH(QString, bits);
        QCOMPARE(HexToBits(hex), bits);
    }

    // Every four-bit text survives the trip to hex and back.
    void bitsRoundTrip() {
        for (int v = 0; v < 16; ++v) {
            const QString bits = QString::number(v, 2).rightJustified(4, '0');
            QCOMPARE(HexToBits(BitsToHex(bits)), bits);
            QCOMPARE(BitsToHex(bits), QStringLiteral("0") + DigitToHex(v));
        }
    }

    void mapToKeyDigits_data() {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("key");
        QTest::newRow("A is 0") << "A1A2"
                                << "0102";
        QTest::newRow("digits kept") << "1234"
                                     << "1234";
        QTest::newRow("B C F kept") << "BCF"
                                    << "BCF";
        QTest::newRow("lower a kept") << "a"
                                      << "a";
        QTest::newRow("empty") << ""
                               << "";
    }
    void mapToKeyDigits() {
        QFETCH(QString, map);
        QFETCH(QString, key);
        QCOMPARE(MapToKeyDigits(map), key);
    }

    void mapToDialDigits_data() {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("dial");
        QTest::newRow("star, hash and fill") << "1B2CFF"
                                             << "1*2#";
        QTest::newRow("A is 0") << "A"
                                << "0";
        QTest::newRow("all fill") << "FFFF"
                                  << "";
        QTest::newRow("fill inside") << "12F4"
                                     << "124";
        QTest::newRow("D and E kept") << "DE"
                                      << "DE";
        QTest::newRow("lower case kept") << "abcf"
                                         << "abcf";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("sixteen digit memory") << "5551234ABCFFFFFF"
                                              << "55512340*#";
    }
    void mapToDialDigits() {
        QFETCH(QString, map);
        QFETCH(QString, dial);
        QCOMPARE(MapToDialDigits(map), dial);
    }

    void checkDigits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("verdictSkip3");
        QTest::newRow("last letter") << "12a"
                                     << "MAL"
                                     << "OK";
        QTest::newRow("first letter") << "a12"
                                      << "OK"
                                      << "OK";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("one digit") << "7"
                                   << "OK"
                                   << "OK";
        QTest::newRow("one letter") << "x"
                                    << "MAL"
                                    << "MAL";
        QTest::newRow("star third") << "12*4"
                                    << "OK"
                                    << "OK";
        QTest::newRow("star third, last") << "12*"
                                          << "MAL"
                                          << "OK";
        QTest::newRow("position 2 decides") << "1a*"
                                            << "MAL"
                                            << "MAL";
        QTest::newRow("star second") << "1*3"
                                     << "OK"
                                     << "MAL";
        QTest::newRow("letter fourth") << "123a"
                                       << "MAL"
                                       << "MAL";
        QTest::newRow("slash below 0") << "1/"
                                       << "MAL"
                                       << "MAL";
        QTest::newRow("colon above 9") << "1:"
                                       << "MAL"
                                       << "MAL";
        QTest::newRow("trailing blank") << "12 "
                                        << "MAL"
                                        << "OK";
        QTest::newRow("other script digit") << QString(QChar(0x0661)) << "MAL"
                                            << "MAL";
        QTest::newRow("long all digits") << QString(300, QChar('5')) << "OK"
                                         << "OK";
    }
    void checkDigits() {
        QFETCH(QString, text);
        QFETCH(QString, verdict);
        QFETCH(QString, verdictSkip3);
        QCOMPARE(CheckDigits(text), verdict);
        QCOMPARE(CheckDigitsSkip3(text), verdictSkip3);
    }

    void frameChecksum_data() {
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("sum");
        QTest::newRow("01") << "01"
                            << "FE";
        QTest::newRow("empty") << ""
                               << "FF";
        QTest::newRow("FF01 wraps to 0") << "FF01"
                                         << "FF";
        QTest::newRow("trailing odd ignored") << "010"
                                              << "FE";
        QTest::newRow("single character") << "0"
                                          << "FF";
        QTest::newRow("FF") << "FF"
                            << "00";
        QTest::newRow("FE") << "FE"
                            << "01";
        QTest::newRow("0101") << "0101"
                              << "FD";
        QTest::newRow("two wraps") << "80808080"
                                   << "FF";
        QTest::newRow("7F01") << "7F01"
                              << "7F";
        QTest::newRow("lower case reads 0") << "ff"
                                            << "FF";
        QTest::newRow("64 bytes of FF") << QString(128, QChar('F')) << "3F";
        QTest::newRow("Luvero block fill")
            << QStringLiteral("0530090001123466") + QStringLiteral("0100") + QStringLiteral("6E") +
                   QString(106, QChar('F'))
            << "DA";
    }
    void frameChecksum() {
        QFETCH(QString, pairs);
        QFETCH(QString, sum);
        QCOMPARE(FrameChecksum(pairs), sum);
    }

    // A block followed by its checksum adds up to FF, whatever the block.
    void checksumClosesBlock() {
        QRandomGenerator rng(20240201);
        for (int round = 0; round < 200; ++round) {
            QString block;
            int total = 0;
            const int bytes = int(rng.bounded(0, 140));
            for (int i = 0; i < bytes; ++i) {
                const int b = int(rng.bounded(256));
                total += b;
                block += QString::number(b, 16).toUpper().rightJustified(2, '0');
            }
            const QString sum = FrameChecksum(block);
            QCOMPARE(sum.size(), 2);
            bool ok = false;
            const int value = sum.toInt(&ok, 16);
            QVERIFY(ok);
            QCOMPARE((total + value) % 256, 255);
        }
    }

    void valOf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("value");
        QTest::addColumn<bool>("whole");
        QTest::newRow("plain") << "10" << 10LL << true;
        QTest::newRow("blanks around") << " 3 " << 3LL << true;
        QTest::newRow("negative") << "-1" << -1LL << true;
        QTest::newRow("plus") << "+7" << 7LL << true;
        QTest::newRow("empty") << "" << 0LL << false;
        QTest::newRow("sign only") << "-" << 0LL << false;
        QTest::newRow("letters") << "abc" << 0LL << false;
        QTest::newRow("digits then letters") << "12ab" << 12LL << false;
        QTest::newRow("decimal point") << "3.5" << 3LL << false;
    }
    void valOf() {
        QFETCH(QString, text);
        QFETCH(qlonglong, value);
        QFETCH(bool, whole);
        QCOMPARE(ValOf(text), value);
        QCOMPARE(IsWholeNumber(text), whole);
    }

    // No helper may crash, and each keeps its result within its shape, on any input.
    void oddInputsKeepResultShapes_data() {
        QTest::addColumn<QString>("text");
        const QStringList texts = oddTexts();
        for (int i = 0; i < texts.size(); ++i) QTest::addRow("odd %d", i) << texts[i];
    }
    void oddInputsKeepResultShapes() {
        QFETCH(QString, text);
        const QRegularExpression hexDigits(QStringLiteral("^[0-9A-F]*$"));

        const int digit = HexToDigit(text);
        QVERIFY(digit >= 0 && digit <= 15);
        const int dec = HexToDec(text).toInt();
        QVERIFY(dec >= 0 && dec <= 255);
        const QString two = DecToHex2(text);
        QVERIFY(two.size() <= 2);
        QVERIFY(hexDigits.match(two).hasMatch());
        const QString four = DecToHex4(text);
        QVERIFY(four.size() <= 4);
        QVERIFY(hexDigits.match(four).hasMatch());
        const QString hex = BitsToHex(text);
        QVERIFY(hex.isEmpty() || hex.size() == 2);
        const QString bits = HexToBits(text);
        QVERIFY(bits.isEmpty() || bits.size() == 4);
        QCOMPARE(MapToKeyDigits(text).size(), text.size());
        QVERIFY(MapToDialDigits(text).size() <= text.size());
        const QStringList verdicts{QString(), QStringLiteral("OK"), QStringLiteral("MAL")};
        QVERIFY(verdicts.contains(CheckDigits(text)));
        QVERIFY(verdicts.contains(CheckDigitsSkip3(text)));
        const QString sum = FrameChecksum(text);
        QCOMPARE(sum.size(), 2);
        QVERIFY(hexDigits.match(sum).hasMatch());
        ValOf(text);
        IsWholeNumber(text);
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
