// The model configuration editor through its window: flags both ways, saving and loading the
// model's file, the equipment index, the replace question, typed names that would leave the
// model's folder, and the panel showing a saved configuration.
#include <QElapsedTimer>
#include <QtTest>

#include "gui/config/adminwindow.h"
#include "gui/config/configeditor.h"
#include "support/filebytes.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {

// The record as the file format lays it out: a little-endian count, the bytes, zeros to L.
QByteArray laidOut(const QList<QByteArray>& fields, int length) {
    QByteArray out;
    for (const QByteArray& f : fields) {
        out.append(char(f.size() & 0xFF));
        out.append(char(f.size() >> 8));
        out.append(f);
    }
    return out.leftJustified(length, '\0');
}

template <size_t N>
QString checks(const std::array<QCheckBox*, N>& boxes) {
    QString out;
    for (QCheckBox* c : boxes) out += c->isChecked() ? '1' : '0';
    return out;
}

// A click on item i of the model list.
void choose(QComboBox* list, int i) {
    list->setCurrentIndex(i);
    emit list->activated(i);
}

// The message of a save refused for a typed name, as a pattern.
const QString kNotSaved = QStringLiteral("\\. No se grabó nada\\.$");

struct Bench {
    ProgramFixture f;
    Bench() {
        QDir(f.dir.path()).mkpath(QStringLiteral("Sorvanell/Configuracion"));
        f.load();
        f.msgs.clear();
    }
    MorFrmConf* open() {
        f.p->main->MorMnuConE->trigger();
        return qobject_cast<MorFrmConf*>(f.p->window(QStringLiteral("MorFrmConf")));
    }
    // Closes the editor for good, so the next opening loads it anew.
    void close(MorFrmConf* w) {
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString config(const QString& file) const {
        return QDir(f.dir.path()).filePath(QStringLiteral("Sorvanell/Configuracion/") + file);
    }
    QList<QByteArray> fields(const QString& path) {
        return ReadRecordBytes(path, ModelConfigRecord).fields;
    }
};

}  // namespace

using LinkedRow = std::tuple<QString, QString>;
// params: the 20 visibility boxes after typing; field: the 0-based field that the save writes
using FlagBoxRow = std::tuple<QString, QString, QString, QString, QString, int, QString>;

class TestConfigEditor : public QObject {
    Q_OBJECT
  private slots:
    void freshEditorWritesTheRecordBytes() {
        Bench b;
        MorFrmConf* w = b.open();
        QVERIFY(w->isVisible());
        QCOMPARE(w->MorTexFirm->text(), QStringLiteral("30"));
        w->MorComVis->setEditText(QStringLiteral("Sorvanell"));
        w->MorTexIde->setText(QStringLiteral("Sala ñ"));
        w->MorCmdGra->click();

        // Spelled as the writers spell it, in the model's own folder.
        QCOMPARE(QDir(b.config(QString())).entryList(QDir::Files),
                 QStringList{QStringLiteral("Sorvanell30.CCon")});
        QList<QByteArray> expected(57);
        expected[40] = "000000000";
        expected[41] = "Sorvanell";
        expected[42] = "Sala \xF1";
        expected[44] = "30";
        expected[54] = QByteArray(20, '0');
        expected[55] = "000000000";
        expected[56] = ToAnsi(ShortDateText());
        QCOMPARE(bytesOf(b.config(QStringLiteral("Sorvanell30.CCon"))), laidOut(expected, 1000));

        QCOMPARE(b.f.msgs.texts(),
                 QStringList{"No existe archivo de configuración. Se creara uno nuevo"});
        QCOMPARE(bytesOf(b.f.paths().equipmentIndex()), laidOut({"Sorvanell", "Sala \xF1"}, 50));
    }

    void flagBoxesAndCheckBoxes_data() {
        QTest::addColumn<FlagBoxRow>("row");
        const QString z20(20, '0'), z9(9, '0');
        const QString ten = QString(10, '1') + QString(10, '0');
        // clang-format off
        QTest::newRow("first ten") << FlagBoxRow{"MorTexDefchk", "1100", "11" + QString(18, '0'), z9, z9, 54, "11" + QString(18, '0')};
        QTest::newRow("first ten, too long") << FlagBoxRow{"MorTexDefchk", "111111111111", ten, z9, z9, 54, ten};
        QTest::newRow("11 to 19") << FlagBoxRow{"MorTexDefchk2", "000000001", QString(18, '0') + "10", z9, z9, 54, QString(18, '0') + "10"};
        QTest::newRow("20th") << FlagBoxRow{"MorTexDefchk3", "1", QString(19, '0') + "1", z9, z9, 54, QString(19, '0') + "1"};
        QTest::newRow("states, other characters") << FlagBoxRow{"MorTxtConReg", "1x1 1", z20, "101010000", z9, 55, "101010000"};
        QTest::newRow("visibility") << FlagBoxRow{"MorTxtConVis", "000000001", z20, z9, "000000001", 40, "000000001"};
        // clang-format on
    }
    void flagBoxesAndCheckBoxes() {
        QFETCH_ROW(FlagBoxRow, box, text, params, states, visible, field, saved);
        Bench b;
        MorFrmConf* w = b.open();
        // Its boxes start ticked, so clearing shows too.
        w->findChild<QLineEdit*>(box)->setText(QString(10, '1'));
        w->findChild<QLineEdit*>(box)->setText(text);
        QCOMPARE(checks(w->MorChkConVis), params);
        QCOMPARE(checks(w->MorLabConchk), states);
        QCOMPARE(checks(w->ResV), visible);
        w->MorComVis->setEditText(QStringLiteral("Sorvanell"));
        w->MorCmdGra->click();
        QCOMPARE(FromAnsi(b.fields(b.config("Sorvanell30.CCon"))[field]), saved);
    }

    void tickedBoxComesBackOnLoading() {
        Bench b;
        MorFrmConf* w = b.open();
        w->MorChkConVis[19]->click();
        w->MorLabConchk[0]->click();
        w->ResV[8]->click();
        w->MorComVis->setEditText(QStringLiteral("Sorvanell"));
        w->MorTexFirm->setText(QStringLiteral("12"));
        for (int k = 0; k < 20; ++k) {
            w->MorTexPar[k]->setText(QStringLiteral("Parámetro %1").arg(k + 1));
            w->MorTexDef[k]->setText(QString::number(k % 2));
        }
        for (int k = 0; k < 9; ++k) w->MorTexRes[k]->setText(QStringLiteral("R%1").arg(k + 1));
        w->MorTexCla->setText(QStringLiteral("4321"));
        w->MorCmdGra->click();
        b.close(w);

        w = b.open();
        QCOMPARE(checks(w->MorChkConVis), QString(20, '0'));
        QCOMPARE(w->MorComVis->count(), 1);
        w->MorTexFirm->setText(QStringLiteral("12"));  // firmware first, then the model
        // A flag box that already holds the loaded text must still set its boxes.
        w->MorChkConVis[4]->click();
        choose(w->MorComVis, 0);
        const QStringList loaded{
            checks(w->MorChkConVis), w->MorTexDefchk3->text(), w->MorTexDefchk2->text(),
            checks(w->MorLabConchk), checks(w->ResV),          w->MorTexPar[19]->text(),
            w->MorTexDef[1]->text(), w->MorTexRes[8]->text(),  w->MorTexCla->text(),
            w->MorTexFec->text(),    w->ParamVisibleFlags[19]};
        QCOMPARE(loaded, (QStringList{QString(19, '0') + '1', "1", QString(9, '0'), "100000000",
                                      "000000001", "Parámetro 20", "1", "R9", "4321",
                                      ShortDateText(), "1"}));
    }

    void replaceQuestion() {
        for (const bool accept : {false, true}) {
            Bench b;
            MorFrmConf* w = b.open();
            w->MorComVis->setEditText(QStringLiteral("Sorvanell"));
            w->MorTexPar[0]->setText(QStringLiteral("Antes"));
            w->MorCmdGra->click();
            const QString path = b.config("Sorvanell30.CCon");
            const QByteArray before = bytesOf(path);
            b.f.msgs.clear();
            w->MorTexPar[0]->setText(QStringLiteral("Después"));
            w->MorChkConVis[0]->click();
            b.f.msgs.answers = {accept ? Answer::Ok : Answer::Cancel};
            w->MorCmdGra->click();
            QCOMPARE(b.f.msgs.shown.value(0).text, QStringLiteral("¿Desea reemplazar  ") +
                                                       QDir::toNativeSeparators(path) + "  ?");
            QCOMPARE(b.f.msgs.shown.value(0).buttons, Buttons::OkCancel);
            QCOMPARE(b.f.msgs.shown.size(), 1);
            QCOMPARE(bytesOf(path) == before, !accept);
            QCOMPARE(RecordCount(b.f.paths().equipmentIndex(), 50), 1);
        }
    }

    void missingFileQuestion() {
        for (const bool yes : {true, false}) {
            Bench b;
            WriteRecord(b.f.paths().equipmentIndex(), EquipmentIndexRecord, {"Sorvanell", "x"});
            MorFrmConf* w = b.open();
            w->MorTexPar[3]->setText(QStringLiteral("algo"));
            w->MorTexDefchk->setText(QStringLiteral("1"));
            w->MorTexFirm->setText(QStringLiteral("99"));
            b.f.msgs.answers = {yes ? Answer::Yes : Answer::No};
            choose(w->MorComVis, 0);
            QCOMPARE(b.f.msgs.texts(),
                     QStringList{"No existe archivo de configuración. Crear uno nuevo?"});
            QCOMPARE(b.f.msgs.shown[0].buttons, Buttons::YesNo);
            QCOMPARE(w->MorTexPar[3]->text(), yes ? QString() : QStringLiteral("algo"));
            QCOMPARE(w->MorTexFirm->text(), yes ? QString() : QStringLiteral("99"));
            QCOMPARE(w->MorChkConVis[0]->isChecked(), !yes);
            QVERIFY(!QFileInfo::exists(b.config("Sorvanell99.CCon")));
        }
    }

    void equipmentIndex() {
        Bench b;
        // The last record of the file is an empty slot: new pairs go after it.
        WriteRecord(b.f.paths().equipmentIndex(), EquipmentIndexRecord, {"Luvero", "a"}, 1);
        WriteRecord(b.f.paths().equipmentIndex(), EquipmentIndexRecord, {"", ""}, 2);
        MorFrmConf* w = b.open();
        QCOMPARE(w->MorComVis->count(), 1);
        const auto save = [&](const QString& model, const QString& ident) {
            w->MorComVis->setEditText(model);
            w->MorTexIde->setText(ident);
            w->MorCmdGra->click();
        };
        save("Sorvanell", "uno");
        save("Sorvanell", "uno");
        save("Sorvanell", "dos");
        save("Luvero", "a");
        const QString index = b.f.paths().equipmentIndex();
        QCOMPARE(RecordCount(index, 50), 4);
        QCOMPARE(ReadRecord(index, EquipmentIndexRecord, 3).fields,
                 (QStringList{"Sorvanell", "uno"}));
        QCOMPARE(ReadRecord(index, EquipmentIndexRecord, 4).fields,
                 (QStringList{"Sorvanell", "dos"}));
        b.close(w);
        w = b.open();
        QStringList listed;
        for (int i = 0; i < w->MorComVis->count(); ++i) listed << w->MorComVis->itemText(i);
        QCOMPARE(listed, (QStringList{"Luvero", "Sorvanell", "Sorvanell"}));
    }

    // Saves refused before anything is written, with one message: typed names that would leave
    // the model's folder (and are not read either), no model, no model folder, a text the code
    // page cannot hold.
    void refusedSaves_data() {
        // Columns: model, firmware, caption (the third caption box), message (a pattern).
        QTest::addColumn<QStringList>("row");
        const QString name = kNotSaved;
        // clang-format off
        QTest::newRow("model climbs") << QStringList{"../Sorvanell", "30", "", name};
        QTest::newRow("model has dots") << QStringList{"Sorv..anell", "30", "", name};
        QTest::newRow("model with a separator") << QStringList{"Sorvanell/Configuracion", "30", "", name};
        QTest::newRow("firmware with a backslash") << QStringList{"Sorvanell", "\\..\\x", "", name};
        QTest::newRow("colon") << QStringList{"Sorvanell", "C:30", "", name};
        QTest::newRow("control character") << QStringList{"Sorvanell", "3\t0", "", name};
        QTest::newRow("device name") << QStringList{"NUL", "30", "", name};
        QTest::newRow("device file name") << QStringList{"COM", "1", "", name};
        QTest::newRow("trailing dot") << QStringList{"Sorvanell.", "30", "", name};
        QTest::newRow("outside the code page") << QStringList{"Сорванелл", "30", "", name};
        QTest::newRow("no model chosen") << QStringList{"", "30", "", "^No se ha seleccionado equipo$"};
        QTest::newRow("no model folder") << QStringList{"Zentavira", "30", "", "^No existe la carpeta "};
        QTest::newRow("text outside the code page") << QStringList{"Sorvanell", "30", "Línea Ж", "Línea Ж"};
        // clang-format on
    }
    void refusedSaves() {
        QFETCH(QStringList, row);
        const QString model = row[0], firmware = row[1], caption = row[2], message = row[3];
        QTemporaryDir outer;
        ProgramFixture f;
        // The program folder sits inside a folder of its own, so anything outside it shows.
        const QString app = QDir(outer.path()).filePath(QStringLiteral("Morla"));
        for (const char* sub : {"Sorvanell/Configuracion", "Utilerias/Generales/Equipos"})
            QDir(app).mkpath(QString::fromLatin1(sub));
        f.p->s.AppFolder = app;
        const QStringList before = listing(outer.path(), true);
        f.p->main->MorMnuConE->trigger();
        auto* w = qobject_cast<MorFrmConf*>(f.p->window(QStringLiteral("MorFrmConf")));
        const bool badName = message == kNotSaved;
        if (badName) {
            w->MorComVis->setEditText(model);
            w->MorTexFirm->setText(firmware);
            emit w->MorComVis->activated(0);  // a chosen name is not read either
            QCOMPARE(f.msgs.shown.size(), 1);
            QVERIFY(f.msgs.shown[0].text.contains(QStringLiteral("No se leyó ningún archivo")));
            f.msgs.clear();
        }
        w->MorComVis->setEditText(model);
        w->MorTexFirm->setText(firmware);
        w->MorTexRes[2]->setText(caption);
        w->MorCmdGra->click();
        QCOMPARE(f.msgs.shown.size(), 1);
        QVERIFY2(QRegularExpression(message).match(f.msgs.shown[0].text).hasMatch(),
                 qPrintable(f.msgs.shown[0].text));
        QCOMPARE(listing(outer.path(), true), before);
    }

    void untouchedFieldsKeepTheirBytes() {
        // Bytes the code page leaves undefined survive a load and a save of other fields.
        Bench b;
        QList<QByteArray> rec(57);
        rec[0] = "Caption \x81\x8D";
        rec[20] = "\x8F";
        rec[41] = "Sorvanell";
        rec[42] = "Id \x90";
        rec[44] = "30";
        rec[45] = "Res \x9D";
        rec[54] = QByteArray(20, '0');
        const QString path = b.config("Sorvanell30.CCon");
        WriteRecordBytes(path, ModelConfigRecord, rec);
        WriteRecord(b.f.paths().equipmentIndex(), EquipmentIndexRecord, {"Sorvanell", "Id"});
        MorFrmConf* w = b.open();
        choose(w->MorComVis, 0);
        w->MorTexPar[1]->setText(QStringLiteral("Nuevo"));
        w->MorCmdGra->click();
        const QList<QByteArray> saved = b.fields(path);
        for (int i : {0, 20, 41, 42, 45}) QCOMPARE(saved[i], rec[i]);
        QCOMPARE(saved[1], QByteArray("Nuevo"));
        // A box edited on purpose is written as it now reads.
        w->MorTexIde->setText(QStringLiteral("Id 2"));
        w->MorCmdGra->click();
        QCOMPARE(b.fields(path)[42], QByteArray("Id 2"));
    }

    // Record files far too large, or not files at all, are refused at once with their name
    // and why, and the program goes on: the start, the editor and the administration.
    void oddRecordFilesRefused_data() {
        // Columns: file (in the equipment folder), kind, menu ("" for the start), cause.
        QTest::addColumn<QStringList>("row");
        const QString huge = QStringLiteral("mide 2147483648 bytes y un archivo de registros de ");
        // clang-format off
        QTest::newRow("2 GiB commands, start") << QStringList{"Comandos.CCon", "2 GiB", "", huge};
        QTest::newRow("2 GiB index, editor") << QStringList{"Equipo.CGe", "2 GiB", "MorMnuConE", huge};
        QTest::newRow("pipe as commands, start") << QStringList{"Comandos.CCon", "fifo", "", "Es una tubería con nombre"};
        QTest::newRow("folder as users, administration") << QStringList{"Usuarios.CCon", "folder", "MorMnuConC", "Es una carpeta"};
        // clang-format on
    }
    void oddRecordFilesRefused() {
        QFETCH(QStringList, row);
        const QString file = row[0], kind = row[1], menu = row[2], cause = row[3];
        ProgramFixture f;
        const QString path = QDir(f.paths().equipmentFolder()).filePath(file);
        QVERIFY(putOddFile(path, kind));
        QElapsedTimer clock;
        clock.start();
        f.load();
        if (!menu.isEmpty()) f.p->main->findChild<QAction*>(menu)->trigger();
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(f.msgs.texts().size(), 1);
        const QString text = f.msgs.texts().first();
        QVERIFY2(text.startsWith("No se leyó " + QDir::toNativeSeparators(path) + ": " + cause),
                 qPrintable(text));
        QWidget* window =
            f.p->window(menu == QLatin1String("MorMnuConC") ? QStringLiteral("MorFrmCPri")
                                                            : QStringLiteral("MorFrmConf"));
        QCOMPARE(window->isVisible(), !menu.isEmpty());
    }

    // A folder of the program linked to a folder elsewhere is never written into: every save
    // is refused as a link would be, and the folder it leads to stays as it was.
    void foldersLinkedElsewhereAreNotWritten_data() {
        QTest::addColumn<LinkedRow>("row");
        QTest::newRow("model file, editor") << LinkedRow{"Luvero/Configuracion", "editor"};
        QTest::newRow("settings, administration")
            << LinkedRow{"Utilerias/Generales/Equipos", "settings"};
        QTest::newRow("user, administration") << LinkedRow{"Utilerias/Generales/Equipos", "user"};
    }
    void foldersLinkedElsewhereAreNotWritten() {
        QFETCH_ROW(LinkedRow, folder, save);
        LoadedProgram f;
        QTemporaryDir elsewhere;
        const QString moved = QDir(elsewhere.path()).filePath(QStringLiteral("moved"));
        const QString linked = QDir(f.dir.path()).filePath(folder);
        QVERIFY(QDir().rename(linked, moved));
        QVERIFY(QFile::link(moved, linked));
        const QStringList before = listing(elsewhere.path(), true);
        f.msgs.clear();
        if (save == QLatin1String("editor")) {
            f.p->main->MorMnuConE->trigger();
            auto* w = qobject_cast<MorFrmConf*>(f.p->window(QStringLiteral("MorFrmConf")));
            w->MorComVis->setEditText(QStringLiteral("Luvero"));
            w->MorCmdGra->click();
        } else {
            f.p->main->MorMnuConC->trigger();
            auto* w = qobject_cast<MorFrmCPri*>(f.p->window(QStringLiteral("MorFrmCPri")));
            w->MorComCPUsuarios->setEditText(QStringLiteral("Ana"));
            w->MorTexE23->setText(QStringLiteral("1"));
            (save == QLatin1String("user") ? w->MorCmdUsCesG : w->MorCmdCPConGra)->click();
        }
        QVERIFY(!f.msgs.texts().isEmpty());
        QVERIFY2(f.msgs.texts().last().contains(QStringLiteral("es un enlace a otro lugar")),
                 qPrintable(f.msgs.texts().join('\n')));
        QCOMPARE(listing(elsewhere.path(), true), before);
    }
};

QTEST_MAIN(TestConfigEditor)
#include "test_configeditor.moc"
