// The dial text handed to the line library (up to 15 characters as they are, longer ones cut
// into a head of 13 and pieces of 5 separated by the pause mark ","), and a modem installation
// on the stand-in library: no port, the reduced commands, and every command handed to DRQ as
// its dial text once per TimerPID tick, as the library's log shows.
#include <QFile>
#include <QtTest>

#include "core/models/registry.h"
#include "gui/device/commands.h"
#include "gui/link/modemlink.h"
#include "session/modem.h"
#include "session/serial/serialtransport.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {

const QString kModemClass = QStringLiteral("PC Dravenquista");

QString libraryIn(const ProgramFixture& f) {
    return f.dir.filePath(QString::fromUtf16(kLineLibraryFile));
}

bool install(const ProgramFixture& f, const char* built) {
    QFile::remove(libraryIn(f));
    return QFile::copy(QString::fromUtf8(built), libraryIn(f));
}

// The dial texts in the stand-in's log, in order, as the bytes it received.
QList<QByteArray> dialed(const ProgramFixture& f) {
    QFile log(f.dir.filePath(QStringLiteral("DRQdll.log")));
    QList<QByteArray> texts;
    if (!log.open(QIODevice::ReadOnly)) return texts;
    // Each line: a time stamp, the line number 0 and the text byte for byte.
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        const QList<QByteArray> parts = line.split('\t');
        const bool stamped = QDateTime::fromString(QString::fromLatin1(parts[0]),
                                                   QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                                 .isValid();
        texts << (parts.size() == 3 && parts[1] == "0" && stamped ? parts[2] : "bad line: " + line);
    }
    return texts;
}

// A modem installation, loaded, with the stand-in in its folder.
struct Modem {
    ProgramFixture f{QStringLiteral("2"), QStringLiteral("10"), kModemClass};
    Program& p = *f.p;
    explicit Modem(const char* library = MORLA_LINESTUB) {
        if (library) install(f, library);
        p.s.ModeCode = QStringLiteral("PC");
        f.load();
    }
    // "Enviar" from the open menu: nothing is dialed until TimerPID fires, then `text`, once.
    void sendFromMenu(const QByteArray& text) {
        QVERIFY(p.main->mnuComando->isVisible());
        p.main->mnuEnviar->trigger();
        p.main->mnuComando->hide();
        QVERIFY(dialed(f).isEmpty());
        QVERIFY(Fire(p.main->TimerPID));
        QCOMPARE(dialed(f), QList<QByteArray>{text});
        // The countdown gives way to what went out.
        QVERIFY(p.main->sendStatus->text().startsWith(QStringLiteral("Comando ")));
        QVERIFY(
            p.main->sendStatus->text().contains(QStringLiteral(" entregado a la línea a las ")));
        QVERIFY(!Fire(p.main->TimerPID));
        QCOMPARE(dialed(f).size(), 1);
        QVERIFY(f.port.line.isEmpty());
        QVERIFY(f.msgs.shown.isEmpty());
    }
};

// Distinct characters, so that every piece shows where it came from.
QString letters(int n) {
    QString t;
    for (int i = 0; i < n; ++i) t += QChar(i < 26 ? 'A' + i : 'a' + (i - 26) % 26);
    return t;
}
}  // namespace

// value: a box's tick, or a memory's digits
using SendFromMenuRow = std::tuple<int, QString, QString, QByteArray>;
// shown: the message when nothing goes out
using TickRow = std::tuple<QString, QByteArray, QString>;
using LibraryRow = std::tuple<QString, QString>;

class TestModemLink : public QObject {
    Q_OBJECT
  private slots:
    // A right press on a Lúvero option or a double click on a Zentavira memory, "Enviar":
    // nothing goes out until TimerPID fires, then exactly the command text, once. The
    // 16-digit memory's command is longer than the line takes whole and goes out regrouped.
    void sendFromMenu_data() {
        QTest::addColumn<SendFromMenuRow>("row");
        // clang-format off
        QTest::newRow("option 1 on") << SendFromMenuRow{3, "MorChkRes01", "1", QByteArray("#1,1234,9")};
        QTest::newRow("option 6 off") << SendFromMenuRow{3, "MorChkRes06", "0", QByteArray("#9,1234,0")};
        QTest::newRow("16-digit memory, regrouped") << SendFromMenuRow{4, "MorTxtUniMe1609", "0123456789*#0123", QByteArray("#271234,23,0123456,789*#,0123")};
        QTest::newRow("4-digit memory, as it is") << SendFromMenuRow{4, "MorTxtUniMe403", "*0", QByteArray("#271234,03,*0")};
        // clang-format on
    }
    void sendFromMenu() {
        QFETCH_ROW(SendFromMenuRow, button, control, value, text);
        Modem m;
        // A Zentavira configuration with its key, so that the memory's command carries it.
        const ModelInfo& z = Model(ModelId::Zentavira);
        WriteModelConfig(m.f, z, z.firmware());
        ModelButton(m.p, button);
        m.p.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m.p.main.get()));
        QWidget* w = m.p.main->findChild<QWidget*>(control);
        QVERIFY(w);
        const QPoint onIt(6, w->height() / 2);
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(value == QLatin1String("1"));
            QTest::mousePress(check, Qt::RightButton, {}, onIt);
            QTest::mouseRelease(check, Qt::RightButton, {}, onIt);
        } else {
            static_cast<QLineEdit*>(w)->setText(value);
            QTest::mouseDClick(w, Qt::LeftButton, {}, onIt);
        }
        m.sendFromMenu(text);
        // The log follows the library file, not the current folder.
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("DRQdll.log"))));
    }

    // On the tick the command text goes out, a long one regrouped (the regrouped text stays the
    // command text), and the window that carries the call unloads itself. A text the line
    // cannot carry as it is goes nowhere: "?" or a cut would dial another command.
    void commandOnTheTick_data() {
        QTest::addColumn<TickRow>("row");
        const QByteArray none;
        // clang-format off
        QTest::newRow("code page bytes") << TickRow{"ñ2,12345678,8765432€", QByteArray("\xf1" "2,12345678,876543,2\x80"), ""};
        QTest::newRow("outside the code page") << TickRow{"*46f12✓4", none, "(✓)"};
        QTest::newRow("NUL") << TickRow{QStringLiteral("*46f12") + QChar(0) + "4", none, "(NUL)"};
        // clang-format on
    }
    void commandOnTheTick() {
        QFETCH_ROW(TickRow, command, text, shown);
        Modem m;
        m.p.s.CommandString = command;
        m.p.main->TimerPID->start();
        QVERIFY(Fire(m.p.main->TimerPID));
        QVERIFY(!m.p.main->TimerPID->isActive());
        if (!shown.isEmpty()) {
            QCOMPARE(m.f.msgs.shown.size(), 1);
            QVERIFY2(m.f.msgs.shown[0].text.contains(shown), qPrintable(m.f.msgs.shown[0].text));
            QVERIFY(dialed(m.f).isEmpty());
            return;
        }
        QCOMPARE(dialed(m.f), QList<QByteArray>{text});
        QCOMPARE(ToAnsi(m.p.s.CommandString), text);
        QTRY_VERIFY(!m.p.main->findChild<QWidget*>(QStringLiteral("MorForDLLModem")));
    }

    // Without a port the monitor's command goes to the library at once, regrouped.
    void monitorCommand() {
        Modem m;
        m.p.monitor->MorComMon->setEditText(QStringLiteral("Prueba"));
        m.p.monitor->MorTexMon07->setText(QStringLiteral("  *46f1234567890123456 "));
        m.p.monitor->MorCmdMon04->click();
        QCOMPARE(dialed(m.f), QList<QByteArray>{"*46f12345678901234,56"});
        QVERIFY(m.f.port.line.isEmpty());
        QVERIFY(!m.p.main->TimerPID->isActive());
    }

    // A serial installation never touches the library, even when one is in its folder.
    void serialModeLeavesTheLibraryAlone() {
        ProgramFixture f;
        QVERIFY(install(f, MORLA_LINESTUB));
        f.load();
        f.p->s.CommandString = QStringLiteral("*46f1234");
        f.p->main->TimerPID->start();
        QVERIFY(Fire(f.p->main->TimerPID));
        QVERIFY(!f.port.line.isEmpty());
        QVERIFY(dialed(f).isEmpty());
        QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("DRQdll.log"))));
    }

    // No port is opened, so a port that does not exist gives no message, nor does closing.
    void noPortOpened() {
        SerialTransport serial;
        ProgramFixture f(QStringLiteral("2"), QStringLiteral("10"), kModemClass, &serial);
        QVERIFY(QFile::link(f.dir.filePath(QStringLiteral("no-such-device")),
                            f.dir.filePath(QStringLiteral("COM1"))));
        f.p->s.ModeCode = QStringLiteral("PC");
        f.load();
        QVERIFY(!serial.isOpen());
        f.p->main->close();
        QVERIFY(f.msgs.shown.isEmpty());
    }

    // A library that is missing, lacks DRQ or is no library: one message naming the file and
    // what is wrong when the command would go out, nothing sent, and the program goes on; a
    // library put in place afterwards is taken by the next command.
    void unusableLibrary_data() {
        QTest::addColumn<LibraryRow>("row");
        QTest::newRow("missing") << LibraryRow{"missing", "No se encontró la biblioteca de línea"};
        QTest::newRow("without DRQ") << LibraryRow{"nodrq", "no tiene la función DRQ"};
        QTest::newRow("not a library") << LibraryRow{
            "garbage",
            "No se pudo cargar la biblioteca de línea %1 (no es una biblioteca que este "
            "sistema pueda cargar, o le falta otra de la que depende)."};
    }
    void unusableLibrary() {
        QFETCH_ROW(LibraryRow, kind, says);
        Modem m(nullptr);
        if (kind == QStringLiteral("nodrq")) {
            QVERIFY(install(m.f, MORLA_LINESTUB_NODRQ));
        } else if (kind == QStringLiteral("garbage")) {
            QFile file(libraryIn(m.f));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a library");
        }
        QVERIFY(m.f.msgs.shown.isEmpty());  // nothing said before a command goes out
        m.p.main->MorFraCom02->click();
        QVERIFY(Fire(m.p.main->TimerPID));
        QCOMPARE(m.f.msgs.shown.size(), 1);
        const QString text = m.f.msgs.shown[0].text;
        if (says.contains(QLatin1String("%1")))
            says = says.arg(QDir::toNativeSeparators(libraryIn(m.f)));
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(libraryIn(m.f))), qPrintable(text));
        QCOMPARE(m.f.msgs.shown[0].title, QStringLiteral("MORLA"));
        QVERIFY(dialed(m.f).isEmpty());
        QVERIFY(m.f.port.line.isEmpty());
        QVERIFY(!m.p.main->TimerPID->isActive());
        QCOMPARE(m.p.main->sendStatus->text(), QStringLiteral("Comando no enviado"));

        // Still usable: the next command says it again, then goes out once the library is there.
        m.p.main->MorFraCom02->click();
        QVERIFY(Fire(m.p.main->TimerPID));
        QCOMPARE(m.f.msgs.shown.size(), 2);
        if (kind == QStringLiteral("missing")) {
            QVERIFY(install(m.f, MORLA_LINESTUB));
            m.p.main->MorFraCom02->click();
            QVERIFY(Fire(m.p.main->TimerPID));
            QCOMPARE(m.f.msgs.shown.size(), 2);
            QCOMPARE(dialed(m.f), QList<QByteArray>{"*46f"});  // no model chosen: no key
        }
    }

    void regroup_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dial");
        // clang-format off
        QTest::newRow("empty") << "" << "";
        QTest::newRow("15") << letters(15) << letters(15);
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

    // Code page characters as their bytes, any other as "?"; NUL-terminated for the library.
    void dialBytes() {
        for (const auto& [text, bytes] : {std::pair{"€‰", "\x80\x89"}, std::pair{"1✓2", "1?2"}}) {
            const QByteArray out = DialBytes(QString::fromUtf8(text));
            QCOMPARE(out, QByteArray(bytes));
            QCOMPARE(out.constData()[out.size()], '\0');
        }
    }

    // Each character the line cannot carry is named once; NUL and code page letters are
    // judged through the program's tick.
    void undialable() {
        QCOMPARE(UndialableCharacters(QStringLiteral("1✓2✓3→")), QStringLiteral("✓→"));
    }
};

QTEST_MAIN(TestModemLink)
#include "test_modemlink.moc"
