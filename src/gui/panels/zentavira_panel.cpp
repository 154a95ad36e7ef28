#include "gui/panels/zentavira_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/models/zentavira.h"
#include "gui/main/named.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"
#include "gui/panels/layoutbinding.h"

namespace morla {

namespace {
const ModelInfo& zentaviraInfo() {
    return Model(ModelId::Zentavira);
}

template <typename W>
W* control(Program& p, const QString& name) {
    return p.main->MorFraUni->findChild<W*>(name);
}
QLineEdit* box(Program& p, const char* name) {
    return control<QLineEdit>(p, QLatin1String(name));
}
QLineEdit* shortMemory(Program& p, int k) {
    return control<QLineEdit>(p, ElementName("MorTxtUniMe4", k));
}
QLineEdit* longMemory(Program& p, int k) {
    return control<QLineEdit>(p, ElementName("MorTxtUniMe16", k));
}
QCheckBox* freedBox(Program& p) {
    return control<QCheckBox>(p, QStringLiteral("MorChkUniLib"));
}

// A memory frame: each box with its label, the label giving the device's memory number.
QGroupBox* memoryFrame(QWidget* parent, const char* frameName, const QString& caption,
                       const char* boxArray, const char* labelArray, int count, int firstNumber,
                       int columns) {
    auto* frame = named(new QGroupBox(caption, parent), QLatin1String(frameName));
    auto* grid = new QGridLayout(frame);
    for (int k = 0; k < count; ++k) {
        auto* label = named(
            new QLabel(QStringLiteral("%1").arg(firstNumber + k, 2, 10, QLatin1Char('0')), frame),
            ElementName(labelArray, k));
        auto* edit = named(new QLineEdit(frame), ElementName(boxArray, k));
        grid->addWidget(label, k / columns, 2 * (k % columns));
        grid->addWidget(edit, k / columns, 2 * (k % columns) + 1);
    }
    return frame;
}

}  // namespace

void BuildPanelZentavira(Program& p, QFrame* frame) {
    auto* layout = new QGridLayout(frame);
    auto* title =
        named(new QLabel(QStringLiteral("Zentavira"), frame), QStringLiteral("MorLblUniTit"));
    QFont f = title->font();
    f.setPointSize(14);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);

    layout->addWidget(memoryFrame(frame, "MorFraUniFraMe4", QStringLiteral("Memorias de 4 dígitos"),
                                  "MorTxtUniMe4", "MorLabUniMe4", zentavira::kShortMemories, 0, 2),
                      1, 0);
    layout->addWidget(
        memoryFrame(frame, "MorFraUniFraM16", QStringLiteral("Memorias de 16 dígitos"),
                    "MorTxtUniMe16", "MorLabUniMe16", zentavira::kLongMemories, 14, 1),
        1, 1);

    auto* freed = named(new QGroupBox(frame), QStringLiteral("MorFraUniFraLib"));
    auto* freedLayout = new QVBoxLayout(freed);
    auto* erase = named(new QPushButton(QStringLiteral("Borrar Memorias"), freed),
                        QStringLiteral("MorCmdUniBor"));
    auto* table = named(
        new QCheckBox(QStringLiteral("Liberar la tabla de memorias de números telfónicos"), freed),
        QStringLiteral("MorChkUniLib"));
    freedLayout->addWidget(erase);
    freedLayout->addWidget(table);
    layout->addWidget(freed, 2, 0);

    auto* times = named(new QGroupBox(frame), QStringLiteral("MorFraUniFraTie"));
    auto* timesGrid = new QGridLayout(times);
    const char* rows[3][3] = {
        {"MorLabUniDurL", "MorTexUniDurL", "Tiempo de duración para llamadas libres"},
        {"MorLabUniDurP", "MorTexUniDurP", "Tiempo de duración para llamadas prohibidas"},
        {"MorLabUniCon", "MorTexUniCon",
         "Dígitos para toma de troncal en extensión de conmutador"}};
    for (int r = 0; r < 3; ++r) {
        auto* label =
            named(new QLabel(QString::fromUtf8(rows[r][2]), times), QLatin1String(rows[r][0]));
        label->setWordWrap(true);
        timesGrid->addWidget(label, r, 0);
        timesGrid->addWidget(named(new QLineEdit(times), QLatin1String(rows[r][1])), r, 1);
    }
    layout->addWidget(times, 2, 1);

    // The freed memory table is restriction option 4 of the device: one bit, two boxes.
    QCheckBox* option4 = p.main->MorChkRes[3];
    QObject::connect(table, &QCheckBox::toggled, option4, &QCheckBox::setChecked);
    QObject::connect(option4, &QCheckBox::toggled, table, &QCheckBox::setChecked);
}

void ShowPanelZentavira(Program& p) {
    ShowPanelSteps(p, zentaviraInfo(), PanelShape{6, zentavira::kKeyLength},
                   [&p](const QStringList& rec) {
                       control<QLabel>(p, QStringLiteral("MorLabUniDurP"))->setText(rec[0]);
                       control<QLabel>(p, QStringLiteral("MorLabUniDurL"))->setText(rec[1]);
                       control<QLabel>(p, QStringLiteral("MorLabUniCon"))->setText(rec[2]);
                       freedBox(p)->setText(rec[3]);
                       control<QGroupBox>(p, QStringLiteral("MorFraUniFraMe4"))->setTitle(rec[5]);
                       control<QGroupBox>(p, QStringLiteral("MorFraUniFraM16"))->setTitle(rec[6]);
                       box(p, "MorTexUniDurP")->setText(rec[20]);
                       box(p, "MorTexUniDurL")->setText(rec[21]);
                       box(p, "MorTexUniCon")->setText(rec[22]);
                       if (rec[23] == QStringLiteral("1")) freedBox(p)->setChecked(true);
                       if (rec[23] == QStringLiteral("0")) freedBox(p)->setChecked(false);
                       for (int k = 0; k < zentavira::kShortMemories; ++k)
                           shortMemory(p, k)->clear();
                       for (int k = 0; k < zentavira::kLongMemories; ++k) longMemory(p, k)->clear();
                   });
}

void ReadReplyZentavira(Program& p) {
    ReadReplySteps(p, zentaviraInfo(), [&p](const QString& map) {
        ShowValues(p, zentavira::Layout(), layout::Decode(zentavira::Layout(), map));
        const int freed = zentavira::MemoryTableFreed(map);
        if (freed >= 0) freedBox(p)->setChecked(freed == 1);
    });
}

void BuildFrameZentavira(Program& p) {
    MorlaState& s = p.s;
    s.SendData.clear();
    ValidateFullKey(p, zentavira::kKeyLength);
    BuildFrameFromLayout(p, zentaviraInfo(), zentavira::Layout());
}

void CompleteSendZentavira(Program& p) {
    ApplySingleCommand(p, zentavira::CompleteSend(SingleCommandInput(p)));
}

}  // namespace morla
