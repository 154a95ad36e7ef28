#include "gui/panels/haldrivonexa_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/models/haldrivonexa.h"
#include "gui/main/named.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"
#include "gui/panels/layoutbinding.h"

namespace morla {

namespace {
const ModelInfo& haldrivonexaInfo() {
    return Model(ModelId::Haldrivonexa);
}

template <typename W>
W* control(Program& p, const QString& name) {
    return p.main->MorFraMult->findChild<W*>(name);
}
QLineEdit* box(Program& p, const char* name) {
    return control<QLineEdit>(p, QLatin1String(name));
}
QLabel* label(Program& p, const char* name) {
    return control<QLabel>(p, QLatin1String(name));
}
QCheckBox* prefixBox(Program& p, int k) {
    return control<QCheckBox>(p, ElementName("MorChkMultResNum0XX", k));
}
QCheckBox* longDistanceBox(Program& p, int k) {
    return control<QCheckBox>(p, ElementName("MorChkMultResLarDis", k));
}

const char16_t* kPrefixCaptions[haldrivonexa::kPrefixBoxes] = {
    u"Números que inicien en 090", u"Números que inicien en 08X", u"Números que inicien en 07X",
    u"Números que inicien en 06X", u"Números que inicien en 050", u"Números que inicien en 040",
    u"Números que inicien en 030", u"Números que inicien en 020", u"Números que inicien en 031"};
// The captions of the other three come from the configuration file.
const char16_t* kLongDistanceCaptions[haldrivonexa::kLongDistanceBoxes] = {
    u"01 Lada telefóno a telefóno",
    u"01800 Llamadas por cobrar sistema 800",
    u"001 Larga distancia a CANADA y EUA",
    u"",
    u"",
    u""};
}  // namespace

void BuildPanelHaldrivonexa(Program&, QFrame* frame) {
    auto* layout = new QGridLayout(frame);
    auto* title =
        named(new QLabel(QStringLiteral("Haldrivonexa"), frame), QStringLiteral("MorLblMulTit"));
    QFont f = title->font();
    f.setPointSize(14);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);

    auto* prefixes = named(new QGroupBox(QStringLiteral("Restringir o liberar"), frame),
                           QStringLiteral("MorFraMultFraResNumXXX"));
    auto* prefixLayout = new QVBoxLayout(prefixes);
    for (int k = 0; k < haldrivonexa::kPrefixBoxes; ++k)
        prefixLayout->addWidget(
            named(new QCheckBox(QString::fromUtf16(kPrefixCaptions[k]), prefixes),
                  ElementName("MorChkMultResNum0XX", k)));
    layout->addWidget(prefixes, 1, 0, 2, 1);

    auto* longDistance = named(new QGroupBox(QStringLiteral("Restringir o liberar"), frame),
                               QStringLiteral("MorFraMultFraResLargDist"));
    auto* longLayout = new QVBoxLayout(longDistance);
    for (int k = 0; k < haldrivonexa::kLongDistanceBoxes; ++k)
        longLayout->addWidget(
            named(new QCheckBox(QString::fromUtf16(kLongDistanceCaptions[k]), longDistance),
                  ElementName("MorChkMultResLarDis", k)));
    layout->addWidget(longDistance, 1, 1);

    auto* times = named(new QGroupBox(frame), QStringLiteral("MorFraMultFraTemp"));
    auto* timesGrid = new QGridLayout(times);
    const char* rows[3][3] = {
        {"MorLabMultCon", "MorTexMultCon",
         "Dígitos para toma de troncal en extensión de conmutador"},
        {"MorLabMultDurL", "MorTexMultDurL", "Tiempo de duración para llamadas libres"},
        {"MorLabMultDurP", "MorTexMultDurP", "Tiempo de duración para llamadas prohibidas"}};
    for (int r = 0; r < 3; ++r) {
        auto* caption =
            named(new QLabel(QString::fromUtf8(rows[r][2]), times), QLatin1String(rows[r][0]));
        caption->setWordWrap(true);
        timesGrid->addWidget(caption, r, 0);
        timesGrid->addWidget(named(new QLineEdit(times), QLatin1String(rows[r][1])), r, 1);
    }
    layout->addWidget(times, 2, 1);
}

void ShowPanelHaldrivonexa(Program& p) {
    ShowPanelSteps(p, haldrivonexaInfo(), PanelShape{6, haldrivonexa::kKeyLength},
                   [&p](const QStringList& rec) {
                       label(p, "MorLabMultDurP")->setText(rec[0]);
                       label(p, "MorLabMultDurL")->setText(rec[1]);
                       label(p, "MorLabMultCon")->setText(rec[2]);
                       for (int k = 0; k < haldrivonexa::kPrefixBoxes; ++k)
                           prefixBox(p, k)->setText(rec[3 + k]);
                       for (int k = 0; k < haldrivonexa::kLongDistanceBoxes; ++k)
                           longDistanceBox(p, k)->setText(rec[12 + k]);
                       box(p, "MorTexMultDurP")->setText(rec[20]);
                       box(p, "MorTexMultDurL")->setText(rec[21]);
                       box(p, "MorTexMultCon")->setText(rec[22]);
                       for (int k = 0; k < haldrivonexa::kPrefixBoxes; ++k)
                           CheckFromConfig(prefixBox(p, k), rec[23 + k]);
                       for (int k = 0; k < haldrivonexa::kLongDistanceBoxes; ++k)
                           CheckFromConfig(longDistanceBox(p, k), rec[32 + k]);
                   });
}

void ReadReplyHaldrivonexa(Program& p) {
    ReadReplySteps(p, haldrivonexaInfo(), [&p](const QString& map) {
        ShowValues(p, haldrivonexa::Layout(), layout::Decode(haldrivonexa::Layout(), map));
    });
}

void BuildFrameHaldrivonexa(Program& p) {
    MorlaState& s = p.s;
    s.SendData.clear();
    ValidateFullKey(p, haldrivonexa::kKeyLength);
    BuildFrameFromLayout(p, haldrivonexaInfo(), haldrivonexa::Layout());
}

void CompleteSendHaldrivonexa(Program& p) {
    ApplySingleCommand(p, haldrivonexa::CompleteSend(SingleCommandInput(p)));
}

}  // namespace morla
