// The receive path's boxes: what a read, a write and a single command leave in the monitor and
// the hidden log, and the log's bound.
#include <QCryptographicHash>
#include <QtTest>

#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
// Every box's text, named as the control, after one step of the session.
using Boxes = QMap<QString, QString>;

Boxes boxes(const Program& p) {
    const MorForMonitor& m = *p.monitor;
    Boxes out;
    for (auto* b : {m.MorTexMon01, m.MorTexMon02, m.MorTexMon03, m.MorTexMon04, m.MorTexMon05,
                    m.MorTexMon06, m.MorTexMon08, p.todo->txttodo})
        out[b->objectName()] = b->toPlainText();
    return out;
}

QString digest(const QString& text) {
    return QStringLiteral("sha1:") + QString::number(text.size()) + QLatin1Char(':') +
           QString::fromLatin1(
               QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

// One session on a stand-in port: noise, a read, a whole write, a single command, the last
// read shown again. The boxes after each step.
QMap<QString, Boxes> session(ProgramFixture& f) {
    QMap<QString, Boxes> out;
    f.load();
    Program& p = *f.p;
    f.port.feed("T#");  // outside a reply: only the log
    p.main->MorFraCom03->click();
    f.port.acknowledgeAll();
    f.port.feed(LuveroReply(LuveroBlock("1E", "1A34", "8000")));
    out["read"] = boxes(p);

    p.main->MorChkRes[1]->setChecked(true);
    p.main->MorFraCom04->click();
    f.port.acknowledgeAll();
    Fire(p.main->TimerPID);
    f.port.acknowledgeAll();
    out["write"] = boxes(p);

    p.s.CommandNumber = QStringLiteral("3");
    p.s.CommandValue = QStringLiteral("1");
    p.main->mnuEnviar->trigger();
    Fire(p.main->TimerPID);
    f.port.acknowledgeAll();
    out["single"] = boxes(p);

    p.main->MorFraCom05->click();
    out["last read"] = boxes(p);
    return out;
}
}  // namespace

class TestReceivePath : public QObject {
    Q_OBJECT
  private slots:
    void boxesAsBefore_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("expected");  // the text, or "sha1:" its length and SHA-1 start
        // clang-format off
        const char* rows[][3] = {
            {"read", "MorTexMon01", ""},
            {"read", "MorTexMon02", ""},
            {"read", "MorTexMon03", ""},
            {"read", "MorTexMon04", "sha1:138:1f974b2a8f84e4d2"},
            {"read", "MorTexMon05", "sha1:276:046554507354b70d"},
            {"read", "MorTexMon06", "sha1:414:0cad0482a0733052"},
            {"read", "MorTexMon08", "sha1:134:d97ac884cbc67718"},
            {"read", "txttodo", "sha1:145:ae5655dc037dea90"},
            {"write", "MorTexMon01", ""},
            {"write", "MorTexMon02", "sha1:134:e7785641d76303bc"},
            {"write", "MorTexMon03", ""},
            {"write", "MorTexMon04", "TTTTTTTTTTTTTTTTTTT"},
            {"write", "MorTexMon05", "sha1:38:bf2ce44e76db2d30"},
            {"write", "MorTexMon06", "sha1:57:af8cdfbe7c6b551f"},
            {"write", "MorTexMon08", ""},
            {"write", "txttodo", "sha1:164:927bb96a0e816488"},
            {"single", "MorTexMon01", ""},
            {"single", "MorTexMon02", "sha1:134:e7785641d76303bc"},
            {"single", "MorTexMon03", ""},
            {"single", "MorTexMon04", "TTTTTTTTTT"},
            {"single", "MorTexMon05", "54545454545454545454"},
            {"single", "MorTexMon06", "sha1:30:7beab168f10eb486"},
            {"single", "MorTexMon08", ""},
            {"single", "txttodo", "sha1:174:37b0ba58f5fd5b25"},
            {"last read", "MorTexMon01", ""},
            {"last read", "MorTexMon02", "sha1:134:e7785641d76303bc"},
            {"last read", "MorTexMon03", ""},
            {"last read", "MorTexMon04", "sha1:138:1f974b2a8f84e4d2"},
            {"last read", "MorTexMon05", "54545454545454545454"},
            {"last read", "MorTexMon06", "sha1:30:7beab168f10eb486"},
            {"last read", "MorTexMon08", "sha1:134:d97ac884cbc67718"},
            {"last read", "txttodo", "sha1:174:37b0ba58f5fd5b25"},

        };
        // clang-format on
        for (const auto& r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(r[0], r[1])))
                << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1])
                << QString::fromUtf8(r[2]);
    }
    void boxesAsBefore() {
        QFETCH(QString, step);
        QFETCH(QString, box);
        QFETCH(QString, expected);
        ProgramFixture f;
        const QString text = session(f)[step][box];
        const QString got = expected.startsWith(QStringLiteral("sha1:")) ? digest(text) : text;
        if (got != expected)
            qWarning("%s %s: %s", qPrintable(step), qPrintable(box), qPrintable(text));
        QCOMPARE(got, expected);
    }
    // The decoders and the receive path read the state's strings; the widgets show the same.
    void widgetsShowTheStrings() {
        ProgramFixture f;
        session(f);
        const MonitorText& t = f.p->s.Monitor;
        const MorForMonitor& m = *f.p->monitor;
        const QList<QPair<const TextBox*, MonitorBox*>> pairs{
            {&t.MorTexMon01, m.MorTexMon01}, {&t.MorTexMon02, m.MorTexMon02},
            {&t.MorTexMon03, m.MorTexMon03}, {&t.MorTexMon04, m.MorTexMon04},
            {&t.MorTexMon05, m.MorTexMon05}, {&t.MorTexMon06, m.MorTexMon06},
            {&t.MorTexMon08, m.MorTexMon08}, {&t.txttodo, f.p->todo->txttodo}};
        for (const auto& [text, box] : pairs) {
            QCOMPARE(&box->source(), text);
            QCOMPARE(box->toPlainText(), text->text());
        }
        // Written through the widget, read from the state.
        m.MorTexMon08->setPlainText(QStringLiteral("ABC"));
        QCOMPARE(t.MorTexMon08.text(), QStringLiteral("ABC"));
    }

    void logKeepsItsBound_data() {
        QTest::addColumn<int>("received");
        QTest::newRow("below the bound") << 1000;
        QTest::newRow("at the bound") << int(MonitorText::kLogBound);
        QTest::newRow("one past") << int(MonitorText::kLogBound) + 1;
        QTest::newRow("twice and a half") << int(MonitorText::kLogBound) * 5 / 2 + 7;
    }
    void logKeepsItsBound() {
        QFETCH(int, received);
        ProgramFixture f;
        f.load();
        // Characters outside a reply: the log only. Numbered so the kept end can be told.
        QByteArray line;
        for (int i = 0; i < received; ++i) line.append(char('a' + i % 26));
        f.port.feed(line);
        const QString log = f.p->todo->txttodo->toPlainText();
        const int kept = qMin(received, int(MonitorText::kLogBound));
        QCOMPARE(log.size(), kept);
        QCOMPARE(log, QString::fromLatin1(line.right(kept)));
        QVERIFY(f.p->s.Monitor.MorTexMon04.isEmpty());
    }

    // A reply still decodes after the log has dropped its front.
    void readAfterAFullLog() {
        ProgramFixture f;
        f.load();
        f.port.feed(QByteArray(int(MonitorText::kLogBound) + 500, 'x'));
        f.p->main->MorFraCom03->click();
        f.port.acknowledgeAll();
        const QByteArray reply = LuveroReply(LuveroBlock("1E", "1A34", "8000"));
        f.port.feed(reply);
        QCOMPARE(f.p->main->MorTexResCla->text(), QStringLiteral("1034"));
        const QString log = f.p->todo->txttodo->toPlainText();
        QCOMPARE(log.size(), MonitorText::kLogBound);
        QVERIFY(log.endsWith(QString::fromLatin1(reply)));
    }
};

QTEST_MAIN(TestReceivePath)
#include "test_receivepath.moc"
