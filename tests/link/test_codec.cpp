// Digit, hex and nibble helpers: known values, boundaries and malformed texts.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/modelcore.h"
#include "core/models/registry.h"
#include "support/programfixture.h"

using namespace morla;

namespace {

using Helper = QString (*)(const QString&);

// Every helper as text to text, so that one table holds them all.
const QHash<QString, Helper>& helpers() {
    static const QHash<QString, Helper> all{
        {"DigitToHex", [](const QString& s) { return DigitToHex(s.toInt()); }},
        {"HexToDigit", [](const QString& s) { return QString::number(HexToDigit(s)); }},
        {"HexToDec", HexToDec},
        {"DecToHex2", DecToHex2},
        {"DecToHex4", DecToHex4},
        {"BitsToHex", BitsToHex},
        {"HexToBits", HexToBits},
        {"MapToKeyDigits", MapToKeyDigits},
        {"MapToDialDigits", MapToDialDigits},
        {"CheckDigits", CheckDigits},
        {"CheckDigitsSkip3", CheckDigitsSkip3},
        {"FrameChecksum", FrameChecksum},
        // The number read, and "whole" when the text is nothing but a number.
        {"ValOf", [](const QString& s) {
             return QString::number(ValOf(s)) + (IsWholeNumber(s) ? " whole" : "");
         }}};
    return all;
}

struct Case {
    const char* helper;
    const char* in;
    const char* out;
};

// clang-format off
constexpr Case kCases[] = {
    {"DigitToHex", "0", "0"}, {"DigitToHex", "9", "9"}, {"DigitToHex", "10", "A"},
    {"DigitToHex", "15", "F"}, {"DigitToHex", "16", ""}, {"DigitToHex", "-1", ""},

    {"HexToDigit", "0", "0"}, {"HexToDigit", "9", "9"}, {"HexToDigit", "A", "10"},
    {"HexToDigit", "F", "15"}, {"HexToDigit", "a", "0"}, {"HexToDigit", "G", "0"},
    {"HexToDigit", "/", "0"}, {"HexToDigit", ":", "0"}, {"HexToDigit", "@", "0"},
    {"HexToDigit", "", "0"}, {"HexToDigit", "AB", "0"},

    {"HexToDec", "FF", "255"}, {"HexToDec", "1E", "30"}, {"HexToDec", "09", "9"},
    {"HexToDec", "A", "160"}, {"HexToDec", "", "0"}, {"HexToDec", "123", "18"},
    {"HexToDec", "ff", "0"},

    // Above 255 the first digit is lost: one character is left.
    {"DecToHex2", "255", "FF"}, {"DecToHex2", "0", "00"}, {"DecToHex2", "30", "1E"},
    {"DecToHex2", "9", "09"}, {"DecToHex2", "256", "0"}, {"DecToHex2", "300", "C"},
    {"DecToHex2", "", "00"}, {"DecToHex2", "  12ab", "0C"}, {"DecToHex2", "-1", ""},

    {"DecToHex4", "30", "001E"}, {"DecToHex4", "511", "01FF"}, {"DecToHex4", "4096", "1000"},
    {"DecToHex4", "65537", "0001"}, {"DecToHex4", "-1", "FFFF"},

    {"BitsToHex", "0101", "05"}, {"BitsToHex", "101", ""}, {"BitsToHex", "01010", ""},
    {"BitsToHex", "0102", ""},

    {"HexToBits", "05", "0101"}, {"HexToBits", "0a", ""}, {"HexToBits", "1A", ""},
    {"HexToBits", "A", ""}, {"HexToBits", "0G", ""}, {"HexToBits", "0:", ""},

    {"MapToKeyDigits", "A1A2", "0102"}, {"MapToKeyDigits", "BCF", "BCF"},
    {"MapToDialDigits", "1B2CFF", "1*2#"}, {"MapToDialDigits", "A", "0"},
    {"MapToDialDigits", "12F4", "124"}, {"MapToDialDigits", "DE", "DE"},
    {"MapToDialDigits", "abcf", "abcf"},

    // The verdict is that of the last position looked at.
    {"CheckDigits", "12a", "MAL"}, {"CheckDigits", "a12", "OK"}, {"CheckDigits", "", ""},
    {"CheckDigits", "1/", "MAL"}, {"CheckDigits", "1:", "MAL"},
    {"CheckDigitsSkip3", "12*4", "OK"}, {"CheckDigitsSkip3", "1a*", "MAL"},
    {"CheckDigitsSkip3", "12*", "OK"}, {"CheckDigitsSkip3", "1*3", "MAL"},
    {"CheckDigitsSkip3", "", ""},

    {"FrameChecksum", "01", "FE"}, {"FrameChecksum", "", "FF"}, {"FrameChecksum", "FF01", "FF"},
    {"FrameChecksum", "010", "FE"}, {"FrameChecksum", "FF", "00"},
    {"FrameChecksum", "80808080", "FF"}, {"FrameChecksum", "ff", "FF"},
    {"FrameChecksum", "0*0#01", "FE"},

    {"ValOf", "10", "10 whole"}, {"ValOf", " -3 ", "-3 whole"}, {"ValOf", "+7", "7 whole"},
    {"ValOf", "", "0"}, {"ValOf", "-", "0"}, {"ValOf", "12ab", "12"}, {"ValOf", "3.5", "3"},
};
// clang-format on

}  // namespace

using KnownValuesRow = std::tuple<QString, QString, QString>;
using DigitMapRow = std::tuple<QByteArray, ModelId, QString>;

class TestCodec : public QObject {
    Q_OBJECT

  private slots:
    void knownValues_data() {
        QTest::addColumn<KnownValuesRow>("row");
        for (const Case& c : kCases)
            QTest::addRow("%s(\"%s\")", c.helper, c.in)
                << KnownValuesRow{c.helper, QString::fromUtf8(c.in), QString::fromUtf8(c.out)};
    }
    void knownValues() {
        QFETCH_ROW(KnownValuesRow, helper, in, out);
        QVERIFY(helpers().contains(helper));
        QCOMPARE(helpers().value(helper)(in), out);
    }

    // The digit map is the low digit of each character's code, less the first four characters;
    // the Tervolinda keeps 132 digits of its 140-character reply; a short reply gives what it has.
    void digitMap_data() {
        QTest::addColumn<DigitMapRow>("row");
        QTest::newRow("digits and : to ?")
            << DigitMapRow{QByteArray("02450:?1"), ModelId::Luvero, "0AF1"};
        QTest::newRow("high bits dropped")
            << DigitMapRow{QByteArray("0245\xB3\x7A", 6), ModelId::Luvero, "3A"};
        QTest::newRow("start only") << DigitMapRow{QByteArray("0245"), ModelId::Luvero, ""};
        QTest::newRow("shorter than the start")
            << DigitMapRow{QByteArray("02"), ModelId::Luvero, ""};
        QTest::newRow("Lúvero, one too many") << DigitMapRow{
            QByteArray("0245") + QByteArray(135, '7'), ModelId::Luvero, QString(134, '7')};
        QTest::newRow("Tervolinda") << DigitMapRow{QByteArray("0245") + QByteArray(136, '5'),
                                                   ModelId::Tervolinda, QString(132, '5')};
    }
    void digitMap() {
        QFETCH_ROW(DigitMapRow, reply, model, map);
        QCOMPARE(ReplyMap(Model(model), reply), map);
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
