// The checks every model must pass, written once and run over each model of kCases.
//
// How a model joins: write tests/models/suite/<model>.cpp with a function returning its
// ModelCase (see suite/modelcase.h: the model button, its configuration record and what the
// panel shows from it, a known device image and what its read shows, one edit of each kind of
// field, and a random valid panel), declare the function in suite/modelcase.h and add it as a
// row of kCases below. The checks that do not apply follow from the registry (no checksum
// test, no frame builder) and from ModelCase::sendFrameIsMap and ModelCase::storesFrame.
#include <QtTest>

#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/panels/framework.h"
#include "models/suite/modelcase.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;
using namespace morla::suite;

namespace {

const QList<ModelCase (*)()> kCases = {
    &SorvanellCase,       &LuveroCase,   &ZentaviraCase,  &HaldrivonexaCase, &QuarnDolmethCase,
    &QuarnConmutadorCase, &PellitorCase, &KovalindreCase, &TervolindaCase,   &TervolindaVozCase,
};

const QList<ModelCase>& Cases() {
    static const QList<ModelCase> cases = [] {
        QList<ModelCase> out;
        for (auto make : kCases) out << make();
        return out;
    }();
    return cases;
}

const ModelCase& CurrentCase() {
    QFETCH(int, index);
    return Cases().at(index);
}

// Configurations tried by the random round trip, and where its generator starts.
constexpr int kRandomConfigurations = 300;
constexpr quint32 kGeneratorStart = 20261206;

QByteArray ReplyOf(devsim::MemoryImage image, int badBlock = 0) {
    image.refreshChecksums();
    QString map = image.digits();
    if (badBlock > 0) {
        const int at = badBlock == 1 ? 128 : 260;
        map[at] = QChar(map.at(at).unicode() == u'0' ? u'1' : u'0');
    }
    return QByteArrayLiteral("0245") + devsim::EncodeDigits(map).toLatin1();
}

// A program in a fresh folder holding the model's configuration file.
struct Bench {
    const ModelCase& c;
    const ModelInfo& m;
    ProgramFixture f;
    Program& p;

    explicit Bench(const ModelCase& mc, const QString& retries = QStringLiteral("2"),
                   const QString& installationClass = QStringLiteral("Dravenquista"))
        : c(mc), m(Model(mc.id)), f(retries, QStringLiteral("10"), installationClass), p(*f.p) {
        QDir(f.dir.path()).mkpath(m.base() + QStringLiteral("/Configuracion"));
        const QString first = c.configFirmware.isEmpty() ? m.firmware() : c.configFirmware;
        for (const QString& firmware : QStringList{first} + c.moreFirmware)
            WriteRecord(f.paths().modelConfig(m.base(), firmware), ModelConfigRecord, c.config);
        f.load();
        f.msgs.clear();
    }

    // "&Leer" and the device's reply.
    void read(const QByteArray& reply) {
        p.main->MorFraCom03->click();
        f.port.acknowledgeAll();
        f.port.feed(reply);
    }

    // "&Enviar": the data text that reaches the line after the write command, or "" when the
    // line does not carry it.
    QString write() {
        f.port.line.clear();
        p.main->MorFraCom04->click();
        f.port.acknowledgeAll();
        if (f.port.line != QByteArrayLiteral("D*421P")) return QString();
        f.port.line.clear();
        if (!Fire(p.main->TimerPID)) return QString();
        f.port.acknowledgeAll(1000);
        const QByteArray line = f.port.line;
        if (!line.startsWith('D') || !line.endsWith("1P")) return QString();
        return QString::fromLatin1(line.mid(1, line.size() - 3));
    }

    // The device's reply decoded as "Ult.&Leído" decodes a stored read: the model's decoder on
    // the map, without the line.
    void decode(devsim::MemoryImage image) {
        image.refreshChecksums();
        p.s.ModelCode = m.code();
        p.s.LastReadMap = image.digits();
        p.s.LastReadText = QString::fromLatin1(ReplyOf(image));
        ShowLastRead(p);
    }

    // The frame and data text of the panel as "&Enviar" builds them, without sending.
    QString buildFrame() {
        p.main->MorTexBan->setText(p.s.joinedRestrictorFlags());
        CallBuildFrame(p, p.s.ModelCode);
        return p.s.SendData;
    }

    // The device after storing the data text.
    bool store(devsim::MemoryImage& image, const QString& data) {
        const auto apply = devsim::BehaviourOf(m.id).applyData;
        if (!apply) return false;
        const devsim::Result r = apply(image, data);
        if (r.outcome != devsim::Outcome::Applied) qWarning() << r.detail;
        image.refreshChecksums();
        return r.outcome == devsim::Outcome::Applied;
    }

    // Every field that differs from what it should show, as "control: shown != expected".
    QStringList differences(const Fields& fields) {
        QStringList out;
        for (const Field& field : fields) {
            const QString shown = Shown(p, field.control, field.kind);
            if (shown != field.value)
                out << QStringLiteral("%1: \"%2\" != \"%3\"")
                           .arg(field.control, shown, field.value);
        }
        return out;
    }
    Fields snapshot(const Fields& fields) {
        Fields out;
        for (const Field& field : fields)
            out << Field{field.control, Shown(p, field.control, field.kind), field.kind};
        return out;
    }
};

// The data area of a frame or map: what a write carries, from the installation code on.
QString DataArea(const QString& map, int blocks) {
    return map.mid(6, 122) + (blocks > 1 ? map.mid(132, 128) : QString());
}
QString StoredDataArea(const ModelCase& c, const QString& frame, int blocks) {
    return DataArea(c.frameAsStored ? c.frameAsStored(frame) : frame, blocks);
}

QString CaseName(const ModelCase& c) {
    return c.name.isEmpty() ? Model(c.id).dispatch() : c.name;
}

void AddCaseRows(bool (*wanted)(const ModelCase&) = nullptr) {
    QTest::addColumn<int>("index");
    for (int i = 0; i < Cases().size(); ++i)
        if (!wanted || wanted(Cases()[i]))
            QTest::newRow(CaseName(Cases()[i]).toUtf8().constData()) << i;
}

bool writes(const ModelCase& c) {
    return Model(c.id).hasBuildFrame;
}

}  // namespace

class TestModels : public QObject {
    Q_OBJECT
  private slots:
    void modelButtonShowsConfiguration_data() { AddCaseRows(); }
    void modelButtonShowsConfiguration() {
        Bench b(CurrentCase());
        ModelButton(b.p, b.c.modelButton);
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(b.p.s.ModelCode, b.m.code());
        QVERIFY(ModelFrame(b.p, b.m)->isVisibleTo(b.p.main.get()));
        const QStringList diff = b.differences(b.c.configPanel);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join('\n')));
    }

    void readShowsKnownPanel_data() { AddCaseRows(); }
    void readShowsKnownPanel() {
        Bench b(CurrentCase());
        b.read(ReplyOf(b.c.knownImage()));
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(b.p.s.ModelCode, b.m.code());
        QCOMPARE(b.p.s.EquipmentName, b.m.dispatch());
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Morla"));
        QVERIFY(!b.p.main->TimerEC->isActive());
        QVERIFY(ModelFrame(b.p, b.m)->isVisibleTo(b.p.main.get()));
        const QStringList diff = b.differences(b.c.knownPanel);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join('\n')));
    }

    void unchangedWriteKeepsImage_data() { AddCaseRows(writes); }
    void unchangedWriteKeepsImage() {
        Bench b(CurrentCase());
        devsim::MemoryImage device = b.c.knownImage();
        device.refreshChecksums();
        const QString before = device.digits();
        b.read(ReplyOf(device));
        const QString data = b.write();
        QVERIFY2(!data.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QVERIFY(b.store(device, data));
        QCOMPARE(device.digits(), before);
    }

    void changedFieldsReadBack_data() { AddCaseRows(writes); }
    void changedFieldsReadBack() {
        Bench b(CurrentCase());
        devsim::MemoryImage device = b.c.knownImage();
        b.read(ReplyOf(device));
        Fields expected;
        for (const Edit& e : b.c.edits) {
            QVERIFY2(Shown(b.p, e.control) != e.readBack, qPrintable(e.control + " is no change"));
            Set(b.p, e.control, e.set);
            expected << Field{e.control, e.readBack};
        }
        // What was not edited reads back as the panel showed it before the write.
        for (const Field& known : b.c.knownPanel) {
            bool edited = false;
            for (const Edit& e : b.c.edits) edited = edited || e.control == known.control;
            if (!edited && known.control != QStringLiteral("MorTexBan"))
                expected << b.snapshot({known});
        }
        const QString data = b.write();
        QVERIFY(!data.isEmpty());
        QVERIFY(b.store(device, data));
        b.f.msgs.clear();
        b.read(ReplyOf(device));
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        const QStringList diff = b.differences(expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join('\n')));
    }

    void corruptBlock_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("block");
        for (int i = 0; i < Cases().size(); ++i) {
            const ModelInfo& m = Model(Cases()[i].id);
            if (m.checksum == ChecksumPolicy::None) continue;
            for (int block = 1; block <= m.blocks(); ++block)
                QTest::addRow("%s block %d", CaseName(Cases()[i]).toUtf8().constData(), block)
                    << i << block;
        }
    }
    void corruptBlock() {
        QFETCH(int, block);
        Bench b(CurrentCase(), QStringLiteral("1"));
        ModelButton(b.p, b.c.modelButton);
        const Fields before = b.snapshot(b.c.knownPanel);
        const QByteArray bad = ReplyOf(b.c.knownImage(), block);
        b.f.msgs.clear();
        b.read(bad);
        QStringList messages;
        QString status = QStringLiteral("Morla");
        switch (b.m.checksum) {
            case ChecksumPolicy::RetryRead:
                // The bare read command again and the count; the second bad reply ends it.
                QCOMPARE(b.f.port.line.right(4), QByteArray("*40f"));
                QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Reintento Lectura 1"));
                b.f.port.feed(bad);
                messages = QStringList{"1", "Error de Comunicación!"};
                break;
            case ChecksumPolicy::ReportOnly:
                messages = QStringList{QStringLiteral("Error de Comunicación%1!").arg(block)};
                break;
            case ChecksumPolicy::DropSilently:
                // Still reading: the response timer reports a device that never answers well.
                status = QStringLiteral("Leyendo");
                QVERIFY(b.p.main->TimerEC->isActive());
                break;
            case ChecksumPolicy::None:
                break;
        }
        QCOMPARE(b.f.msgs.texts(), messages);
        QCOMPARE(b.p.main->MorTexEst->text(), status);
        QCOMPARE(b.p.s.ReadRetryCount, 0);
        const QStringList diff = b.differences(before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join('\n')));
    }

    void sendFrameDecodesLikeReply_data() {
        AddCaseRows([](const ModelCase& c) { return writes(c) && c.sendFrameIsMap; });
    }
    void sendFrameDecodesLikeReply() {
        Bench b(CurrentCase());
        devsim::MemoryImage device = b.c.knownImage();
        b.read(ReplyOf(device));
        const QString data = b.write();
        QVERIFY(b.store(device, data));
        QCOMPARE(b.p.s.SendFrame.size(), b.m.replyLength - 4);
        QCOMPARE(StoredDataArea(b.c, b.p.s.SendFrame, b.m.blocks()),
                 DataArea(device.digits(), b.m.blocks()));
        // The panel of the model as a model button leaves it, then the last write again.
        ModelButton(b.p, b.c.modelButton);
        b.f.msgs.clear();
        b.p.main->MorFraCom06->click();
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QVERIFY(b.p.main->MorTexEst->text().startsWith(QStringLiteral("Morla")));
        const QStringList diff = b.differences(b.c.knownPanel);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join('\n')));
    }

    // In an installation whose class has a code and in one whose class has none: "&Ult.Envío"
    // shows what was written without a message and without the line, and a write after it
    // sends the same data text again.
    void lastSentWrittenAgain_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("installationClass");
        for (int i = 0; i < Cases().size(); ++i) {
            if (!writes(Cases()[i])) continue;
            const QByteArray name = CaseName(Cases()[i]).toUtf8();
            for (const char* cls : {"Dravenquista", "Tercera"})
                QTest::addRow("%s %s", name.constData(), cls) << i << QString::fromLatin1(cls);
        }
    }
    void lastSentWrittenAgain() {
        QFETCH(QString, installationClass);
        Bench b(CurrentCase(), QStringLiteral("2"), installationClass);
        b.read(ReplyOf(b.c.knownImage()));
        const QString first = b.write();
        QVERIFY(!first.isEmpty());
        ModelButton(b.p, b.c.modelButton);
        b.f.msgs.clear();
        b.f.port.line.clear();
        b.p.main->MorFraCom06->click();
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QVERIFY(b.f.port.line.isEmpty());
        QVERIFY(!b.p.main->TimerEC->isActive());
        QCOMPARE(b.write(), first);
    }

    void randomRoundTrip_data() {
        AddCaseRows([](const ModelCase& c) { return writes(c) || c.storesFrame; });
    }
    void randomRoundTrip() {
        Bench b(CurrentCase());
        QRandomGenerator random(kGeneratorStart);
        devsim::MemoryImage device = b.c.knownImage();
        for (int n = 0; n < kRandomConfigurations; ++n) {
            ModelButton(b.p, b.c.modelButton);
            const Fields expected = b.c.randomPanel(b.p, random);
            QString data = b.buildFrame();
            if (b.c.storesFrame) data = b.p.s.SendFrame;
            const QString where = QStringLiteral("configuration %1 from generator start %2")
                                      .arg(n)
                                      .arg(kGeneratorStart);
            QVERIFY2(!data.isEmpty(), qPrintable(where + ": no data text"));
            QVERIFY2(b.store(device, data), qPrintable(where + ": refused: " + data));
            if (b.c.sendFrameIsMap)
                QVERIFY2(StoredDataArea(b.c, b.p.s.SendFrame, b.m.blocks()) ==
                             DataArea(device.digits(), b.m.blocks()),
                         qPrintable(where + ": frame and memory differ"));
            b.f.msgs.clear();
            b.decode(device);
            const QStringList diff = b.differences(expected);
            QVERIFY2(diff.isEmpty() && b.f.msgs.shown.isEmpty(),
                     qPrintable(where + ":\n" + diff.join('\n') + b.f.msgs.texts().join('|')));
        }
    }
};

QTEST_MAIN(TestModels)
#include "test_models.moc"
