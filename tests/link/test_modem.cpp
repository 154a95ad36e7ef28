// The dial text handed to the line library: up to 15 characters as they are, longer ones cut
// into a head of 13 and pieces of 5 separated by the library's pause mark ",".
#include <QtTest>

#include "session/modem.h"

using namespace morla;

namespace {
// Distinct characters, so that every piece shows where it came from.
QString letters(int n) {
    QString t;
    for (int i = 0; i < n; ++i) t += QChar(i < 26 ? 'A' + i : 'a' + (i - 26) % 26);
    return t;
}
}  // namespace

class TestModem : public QObject {
    Q_OBJECT
  private slots:
    void regroup_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dial");
        // clang-format off
        QTest::newRow("empty") << "" << "";
        QTest::newRow("single command") << "#1,1234,9" << "#1,1234,9";
        QTest::newRow("15") << letters(15) << letters(15);
        QTest::newRow("18, one whole piece") << letters(18) << "ABCDEFGHIJKLMNOPQR";
        QTest::newRow("19") << letters(19) << "ABCDEFGHIJKLMNOPQR,S";
        QTest::newRow("key change with commas") << "#2,12345678,87654321" << "#2,12345678,876543,21";
        // clang-format on
        QTest::newRow("accented letters count once")
            << QString(13, QChar(0xF1)) + "ÁÉÍÓÚü" << QString(13, QChar(0xF1)) + "ÁÉÍÓÚ,ü";
    }
    void regroup() {
        QFETCH(QString, text);
        QTEST(RegroupDialText(text), "dial");
    }

    // Whatever the length: the commas that were added come out again, nothing is lost or
    // reordered, the head has 13 characters, every piece but the last has 5, and the text
    // never ends in a comma.
    void regroupAnyLength() {
        for (int n = 16; n <= 120; ++n) {
            const QString text = letters(n);
            const QString dial = RegroupDialText(text);
            QVERIFY(!dial.endsWith(','));
            QCOMPARE(QString(dial).remove(','), text);
            const QStringList pieces = dial.mid(13).split(',');
            QCOMPARE(dial.left(13), text.left(13));
            QCOMPARE(pieces.size(), (n - 13 + 4) / 5);
            for (int i = 0; i + 1 < pieces.size(); ++i) QCOMPARE(pieces[i].size(), 5);
            QVERIFY(pieces.last().size() >= 1 && pieces.last().size() <= 5);
        }
    }

    void dialBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("digits and marks") << "*46f12#,9" << QByteArray("*46f12#,9");
        QTest::newRow("Latin letters") << "Añó" << QByteArray("A\xf1\xf3");
        QTest::newRow("code page only") << "€‰" << QByteArray("\x80\x89");
        QTest::newRow("outside the code page") << "1✓2" << QByteArray("1?2");
    }
    void dialBytes() {
        QFETCH(QString, text);
        const QByteArray out = DialBytes(text);
        QTEST(out, "bytes");
        QCOMPARE(out.constData()[out.size()], '\0');
    }

    void undialable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("characters");
        // clang-format off
        QTest::newRow("command") << "#1,1234,9" << "";
        QTest::newRow("code page letters") << "ñ€Ÿ" << "";
        QTest::newRow("outside, each once") << "1✓2✓3→" << "✓→";
        QTest::newRow("NUL") << QStringLiteral("12") + QChar(0) + QStringLiteral("34") << QString(QChar(0));
        // clang-format on
    }
    void undialable() {
        QFETCH(QString, text);
        QTEST(UndialableCharacters(text), "characters");
    }
};

QTEST_GUILESS_MAIN(TestModem)
#include "test_modem.moc"
