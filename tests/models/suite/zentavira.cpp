// The Zentavira in the model suite: key, four options, durations, trunk digits, memories.
#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

namespace {
// The option boxes from a flags text of four; option 4 is also the memory table box.
Fields optionBoxes(const QString& flags) {
    Fields out;
    for (int k = 1; k <= 4; ++k) out << Field{Check(k), flags.mid(k - 1, 1)};
    out << Field{"MorChkUniLib", flags.mid(3, 1)};
    return out;
}

Fields memories(const QStringList& shortOnes, const QStringList& longOnes) {
    Fields out;
    for (int k = 0; k < 14; ++k) out << Field{Element("MorTxtUniMe4", k), shortOnes.value(k)};
    for (int k = 0; k < 10; ++k) out << Field{Element("MorTxtUniMe16", k), longOnes.value(k)};
    return out;
}
}  // namespace

ModelCase ZentaviraCase() {
    ModelCase c;
    c.id = ModelId::Zentavira;
    c.modelButton = 4;
    // clang-format off
    c.config = Record({{1, "Prohibidas"}, {2, "Libres"}, {3, "Troncal"}, {4, "Tabla libre"},
                       {6, "Cortas"}, {7, "Largas"}, {21, "30"}, {22, "200"}, {23, "9"}, {24, "1"},
                       {41, "111111000"}, {42, "Zentavira"}, {44, "4321"}, {45, "30"}, {46, "Uno"},
                       {51, "Seis"}, {56, "1000"}});
    // clang-format on
    c.configPanel = Fields{{"MorLblUniTit", "Zentavira", Field::Caption},
                           {"MorLabUniDurP", "Prohibidas", Field::Caption},
                           {"MorLabUniDurL", "Libres", Field::Caption},
                           {"MorLabUniCon", "Troncal", Field::Caption},
                           {"MorChkUniLib", "Tabla libre", Field::Caption},
                           {"MorFraUniFraMe4", "Cortas", Field::Caption},
                           {"MorFraUniFraM16", "Largas", Field::Caption},
                           {"MorChkRes01", "Uno", Field::Caption},
                           {"MorChkRes06", "Seis", Field::Caption},
                           {"MorTexUniDurP", "30"},
                           {"MorTexUniDurL", "200"},
                           {"MorTexUniCon", "9"},
                           {"MorTexResCla", "4321"},
                           {"MorTexBan", "1000"},
                           {"MorChkRes01", "1"},
                           {"MorChkUniLib", "1"},
                           {"MorChkRes04", "1"}} +
                    memories({}, {});

    const QStringList shortOnes{"12*#", "", "", "", "", "0", "", "", "", "", "", "", "", "9990"};
    const QStringList longOnes{"5551234", "", "0123456789*#0123", "", "", "", "", "", "", "#"};
    c.knownImage = [] {
        devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Zentavira), "30");
        image.set(12, "115");  // options 1, 3 and 4
        image.set(17,
                  "010200"
                  "000405"
                  "090B0F");
        image.set(35, "5031");
        image.set(39, "12BC");
        image.set(59, "AFFF");
        image.set(91, "999A");
        image.set(95, "5551234FFFFFFFFF");
        image.set(127, "A1");
        image.set(133, "23456789BCA123");
        image.set(243, "CFFFFFFFFFFFFFFF");
        return image;
    };
    c.knownPanel = Fields{{"MorTexResCla", "5031"},        {"MorTexBan", "1011"},
                          {"MorTexUniDurL", "120"},        {"MorTexUniDurP", "045"},
                          {"MorTexUniCon", "9*"},          {"MorTexResFirm", "30"},
                          {"MorTexResUs", "Dravenquista"}, {"MorTexResMod", "Dravenquista"}} +
                   optionBoxes("1011") + memories(shortOnes, longOnes);
    c.frameAsStored = [](const QString& frame) {
        return DialAsStored(frame, {{30, 34, true}, {39, 128}, {133, 258}});
    };
    c.edits = {{"MorTexResCla", "6042", "6042"}, {"MorChkRes02", "1", "1"},
               {"MorChkUniLib", "0", "0"},       {"MorTexUniDurL", "7", "007"},
               {"MorTexUniCon", "#0", "#0"},     {"MorTxtUniMe400", "3", "3"},
               {"MorTxtUniMe1602", "*", "*"},    {"MorTxtUniMe1609", "0#0", "0#0"}};

    c.randomPanel = [](Program& p, QRandomGenerator& r) {
        const QString key = RandomKey(r, 4);
        const QString flags = RandomBits(r, 4);
        const QString free = QString::number(r.bounded(256));
        const QString prohibited = QString::number(r.bounded(256));
        const QString trunk = RandomDigits(r, 0, 3, kDialDigits);
        QStringList shortOnes, longOnes;
        for (int k = 0; k < 14; ++k) shortOnes << RandomDigits(r, 0, 4, kDialDigits);
        for (int k = 0; k < 10; ++k) longOnes << RandomDigits(r, 0, 16, kDialDigits);
        Set(p, "MorTexResCla", key);
        for (int k = 1; k <= 4; ++k) Set(p, Check(k), flags.mid(k - 1, 1));
        Set(p, "MorTexUniDurL", free);
        Set(p, "MorTexUniDurP", prohibited);
        Set(p, "MorTexUniCon", trunk);
        for (int k = 0; k < 14; ++k) Set(p, Element("MorTxtUniMe4", k), shortOnes[k]);
        for (int k = 0; k < 10; ++k) Set(p, Element("MorTxtUniMe16", k), longOnes[k]);
        return Fields{{"MorTexResCla", key},
                      {"MorTexBan", flags},
                      {"MorTexUniDurL", free.rightJustified(3, '0')},
                      {"MorTexUniDurP", prohibited.rightJustified(3, '0')},
                      {"MorTexUniCon", trunk}} +
               optionBoxes(flags) + memories(shortOnes, longOnes);
    };
    return c;
}

}  // namespace morla::suite
