// The box rules on real text boxes: typed characters, texts set by the program, characters
// typed in the middle, the flags box, and every box of the table found by its name.
#include <QtTest>

#include "core/fields/rules.h"
#include "gui/device/commands.h"
#include "gui/fields/fieldrules.h"
#include "gui/main/program.h"
#include "support/fieldtest.h"

using namespace morla;
using namespace morla::fieldtest;

namespace {

const QString kDigits = QStringLiteral("ERROR EN LA CLAVE: Solo se admiten numeros");
const QString kLimit = QStringLiteral("ERROR EN TIEMPO: El límite es 255");
const QString kZero = QStringLiteral("ERROR EN LA CLAVE: No se admite 0 al inicio de clave");
const QString kForbidden = QStringLiteral("MORLA ESTA ENOJADO: Número prohibido");

}  // namespace

using LimitRow = std::tuple<int, QString, QString, QStringList>;
using FlagsRow = std::tuple<QString, QString>;
// box, model, input, text, shown
using EntryRow = std::tuple<QString, QString, QString, QString, QStringList>;
// box, model, before, left (caret moves left from the end), input, text, caret, shown
using MidRow = std::tuple<QString, QString, QString, int, QString, QString, int, QStringList>;
using BoxRow = std::tuple<QString, int, QString>;

class TestFieldRules : public QObject {
    Q_OBJECT

    enum How { Typed, Set, TypedMidText };
    // The text typed, typed after moving the caret into a text, or set by the program; a later
    // reader of the change reads the box as the model panels do.
    static void entry(How how, const EntryRow& row, const QString& before = {}, int left = 0,
                      int caret = 0) {
        const auto& [box, model, input, text, shown] = row;
        Bench b;
        b.p.s.ModelCode = model;
        QLineEdit* edit = b.box(box);
        QStringList seen;
        QObject::connect(edit, &QLineEdit::textChanged, edit, [&] { seen << edit->text(); });
        if (how == TypedMidText) {
            QTest::keyClicks(edit, before);
            QCOMPARE(edit->text(), before);
            if (left == before.size())
                QTest::keyClick(edit, Qt::Key_Home);
            else
                for (int i = 0; i < left; ++i) QTest::keyClick(edit, Qt::Key_Left);
        }
        if (how == Set)
            edit->setText(input);
        else
            QTest::keyClicks(edit, input);
        QCOMPARE(edit->text(), text);
        QCOMPARE(Shown(b.msgs), shown);
        if (!seen.isEmpty()) QCOMPARE(seen.last(), text);
        if (how == TypedMidText) QCOMPARE(edit->cursorPosition(), caret);
    }

  private slots:
    void typing_data() {
        QTest::addColumn<EntryRow>("row");
        const QStringList none;
        const QStringList counter{"ERROR EN EL CONTADOR: Solo se admiten numeros"};
        const QStringList morla{"MORLA: Solo se admiten numeros"};
        const QStringList dsh{"ERROR EN LA CLAVE: Solo se admiten numeros, * y #"};
        // clang-format off
        QTest::newRow("D letter") << EntryRow{"MorTexConClv00", "02", "12a", "12", QStringList{kDigits}};
        QTest::newRow("D counter title") << EntryRow{"MorTexConLDC", "02", "7x", "7", counter};
        QTest::newRow("D255 above") << EntryRow{"MorTexUniDurP", "05", "256", "", QStringList{kLimit}};
        QTest::newRow("D255 at limit") << EntryRow{"MorTexUniDurP", "05", "255", "255", none};
        QTest::newRow("D255 letter, own title") << EntryRow{"MorTexMultDurL", "03", "2b", "2", morla};
        QTest::newRow("D255 last three above") << EntryRow{"MorTexConLDT", "02", "300", "", QStringList{kLimit}};
        QTest::newRow("memory number takes * and #") << EntryRow{"MorTexConNumTel04", "02", "1*#0", "1*#0", none};
        QTest::newRow("memory number letter") << EntryRow{"MorTexMulClvNumTel03", "06", "5x", "5", dsh};
        QTest::newRow("Kovalindre key as Quarn's") << EntryRow{"MorTxtMulClvClv23", "06", "12a", "12", QStringList{kDigits}};
        QTest::newRow("DSH letter") << EntryRow{"MorTexMultCon", "03", "1q", "1", dsh};
        QTest::newRow("key leading zero") << EntryRow{"MorTexResCla", "00", "0", "", QStringList{kZero}};
        QTest::newRow("key star third, Sorvanell") << EntryRow{"MorTexResCla", "04", "12*45", "12*45", none};
        QTest::newRow("key star third, Lúvero") << EntryRow{"MorTexResCla", "00", "12*4", "124", QStringList{kDigits}};
        QTest::newRow("key star second, Sorvanell") << EntryRow{"MorTexResCla", "04", "1*", "1", QStringList{kDigits}};
        QTest::newRow("exit code alone") << EntryRow{"MorTxtPrivClvSal", "08", "9", "", QStringList{kForbidden}};
        QTest::newRow("exit code typed 9 then 0") << EntryRow{"MorTxtPrivClvSal", "08", "90", "", QStringList{kForbidden, kForbidden}};
        QTest::newRow("exit code 25") << EntryRow{"MorTxtPrivClvSal", "08", "25", "25", none};
        // clang-format on
    }
    void typing() {
        QFETCH(EntryRow, row);
        entry(Typed, row);
    }

    void programSets_data() {
        QTest::addColumn<EntryRow>("row");
        const QStringList none;
        // clang-format off
        QTest::newRow("exit code 90 pasted") << EntryRow{"MorTxtPrivClvSal", "08", "90", "90", none};
        QTest::newRow("exit code 8 pasted") << EntryRow{"MorTxtPrivClvSal", "08", "8", "", QStringList{kForbidden}};
        QTest::newRow("letters anywhere, one message") << EntryRow{"MorTexConClv01", "02", "a1b2", "12", QStringList{kDigits}};
        QTest::newRow("key from a read, leading zero") << EntryRow{"MorTexResCla", "00", "0123", "", QStringList{kZero}};
        QTest::newRow("letter removed, then leading zero") << EntryRow{"MorTexResCla", "00", "x05", "", QStringList{kDigits, kZero}};
        QTest::newRow("letter removed, then exit code") << EntryRow{"MorTxtPrivClvSal", "08", "a1", "", QStringList{kDigits, kForbidden}};
        QTest::newRow("Sorvanell key, star off its place") << EntryRow{"MorTexResCla", "04", "1a*45", "145", QStringList{kDigits}};
        QTest::newRow("empty text stands") << EntryRow{"MorTexResCla", "00", "", "", none};
        // clang-format on
    }
    void programSets() {
        QFETCH(EntryRow, row);
        entry(Set, row);
    }

    void middleOfText_data() {
        QTest::addColumn<MidRow>("row");
        const QStringList dsh{"ERROR EN LA CLAVE: Solo se admiten numeros, * y #"};
        // clang-format off
        QTest::newRow("key, letter at the start") << MidRow{"MorTexResCla", "00", "123", 3, "a", "123", 0, QStringList{kDigits}};
        QTest::newRow("key, letter in the middle") << MidRow{"MorTexResCla", "00", "1234", 2, "x", "1234", 2, QStringList{kDigits}};
        QTest::newRow("key, digit in the middle") << MidRow{"MorTexResCla", "00", "124", 1, "3", "1234", 3, {}};
        QTest::newRow("key, zero typed at the start") << MidRow{"MorTexResCla", "00", "12", 2, "0", "", 0, QStringList{kZero}};
        QTest::newRow("memory, letter in the middle") << MidRow{"MorTxtUniMe413", "05", "55", 1, "x", "55", 1, dsh};
        QTest::newRow("D255, digit first goes above") << MidRow{"MorTexUniDurP", "05", "55", 2, "3", "", 0, QStringList{kLimit}};
        QTest::newRow("exit code, letter at the start") << MidRow{"MorTxtPrivClvSal", "08", "25", 2, "z", "25", 0, QStringList{kDigits}};
        // clang-format on
    }
    void middleOfText() {
        QFETCH_ROW(MidRow, box, model, before, left, input, text, caret, shown);
        entry(TypedMidText, {box, model, input, text, shown}, before, left, caret);
    }

    void flags_data() {
        QTest::addColumn<FlagsRow>("row");
        QTest::newRow("1, 3 and 9") << FlagsRow{"101000001", "101000001"};
        QTest::newRow("empty clears all") << FlagsRow{"", "000000000"};
        QTest::newRow("shorter text") << FlagsRow{"011", "011000000"};
        QTest::newRow("other characters clear") << FlagsRow{"21x1?1111", "010101111"};
        QTest::newRow("tenth character unused") << FlagsRow{"0111111110", "011111111"};
    }
    void flags() {
        QFETCH_ROW(FlagsRow, flags, ticks);
        Bench b;
        // From all ticked, so that clearing is seen too.
        b.p.main->MorTexBan->setText(QStringLiteral("111111111"));
        QCOMPARE(b.ticks(), QStringLiteral("111111111"));
        b.p.main->MorTexBan->setText(flags);
        QCOMPARE(b.ticks(), ticks);
        QCOMPARE(b.p.s.joinedRestrictorFlags(), ticks);
        QVERIFY(b.msgs.shown.isEmpty());
    }

    void everyBoxBound_data() {
        QTest::addColumn<BoxRow>("row");
        for (const fields::BoxRule& rule : fields::BoxTable()) {
            if (rule.rule == fields::Rule::Flags) continue;
            const QString base = QString::fromLatin1(rule.name);
            const QString refused =
                rule.rule == fields::Rule::DSH ? QStringLiteral("a") : QStringLiteral("#");
            const int maxLength = rule.maxLength > 0 ? rule.maxLength : 32767;
            if (rule.elements == 0) {
                QTest::newRow(rule.name) << BoxRow{base, maxLength, refused};
                continue;
            }
            for (int k : {0, rule.elements - 1}) {
                const QString name = Element(base, k);
                QTest::newRow(qPrintable(name)) << BoxRow{name, maxLength, refused};
            }
        }
    }
    void everyBoxBound() {
        QFETCH_ROW(BoxRow, name, maxLength, refused);
        Bench b;
        QLineEdit* edit = b.box(name);
        // A second binding (a panel built later) must not judge twice.
        BindFieldRules(b.p, &b.panel);
        BindFieldRules(b.p, b.p.main.get());
        QCOMPARE(edit->maxLength(), maxLength);
        QTest::keyClicks(edit, QStringLiteral("2") + refused);
        QCOMPARE(edit->text(), QStringLiteral("2"));
        QCOMPARE(b.msgs.shown.size(), 1);
    }

    // The Sorvanell button loads that model's default key, whose third place is "*"; the key
    // rule must already know the model then.
    void sorvanellButtonKeepsItsDefaultKey() {
        test::ProgramFixture f;
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Sorvanell/Configuracion")));
        const QString config =
            f.paths().modelConfig(QStringLiteral("Sorvanell"), QStringLiteral("12"));
        QVERIFY(WriteRecord(config, ModelConfigRecord,
                            test::ConfigRecord(QStringLiteral("12*45"), QStringLiteral("0000000"),
                                               QStringLiteral("111111111"), QStringLiteral("R")))
                    .ok);
        f.p->s.ModelCode = QStringLiteral("00");
        ModelButton(*f.p, 2);
        QCOMPARE(f.p->s.ModelCode, QStringLiteral("04"));
        QCOMPARE(f.p->main->MorTexResCla->text(), QStringLiteral("12*45"));
    }

    // Boxes longer than three characters only come from the program; the two limits differ.
    void limitWholeOrLastThree_data() {
        QTest::addColumn<LimitRow>("row");
        const int whole = int(fields::Rule::D255Whole);
        const int last3 = int(fields::Rule::D255Last3);
        const QStringList limit{QStringLiteral("El límite es 255")};
        const QStringList digits{QStringLiteral("Solo se admiten numeros")};
        const QStringList none;
        // clang-format off
        QTest::newRow("whole 1255") << LimitRow{whole, "1255", "", limit};
        QTest::newRow("last three 1255") << LimitRow{last3, "1255", "1255", none};
        QTest::newRow("last three 1256") << LimitRow{last3, "1256", "", limit};
        QTest::newRow("whole 0255") << LimitRow{whole, "0255", "0255", none};
        QTest::newRow("whole, zeros then 256") << LimitRow{whole, "0000000000000000000256", "", limit};
        QTest::newRow("whole, past any integer") << LimitRow{whole, "99999999999999999999999", "", limit};
        QTest::newRow("letter out, then above") << LimitRow{whole, "2z99", "", digits + limit};
        QTest::newRow("letters out, one message") << LimitRow{last3, "9a9b", "99", digits};
        // clang-format on
    }
    void limitWholeOrLastThree() {
        QFETCH_ROW(LimitRow, rule, text, result, messages);
        const fields::BoxRule box{
            "box", 0, 0, fields::Rule(rule), u"MORLA", u"Solo se admiten numeros"};
        const QVector<fields::Repair> repairs = fields::Judge(box, text, {});
        QCOMPARE(fields::Repaired(text, repairs), result);
        QStringList shown;
        for (const fields::Repair& r : repairs)
            if (!r.message.isEmpty()) shown << r.message;
        QCOMPARE(shown, messages);
    }
};

QTEST_MAIN(TestFieldRules)
#include "test_fieldrules.moc"
