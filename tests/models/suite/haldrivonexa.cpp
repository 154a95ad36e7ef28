// The Haldrivonexa in the model suite: key, six options, trunk digits, durations, fifteen
// prefix and long-distance boxes.
#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

namespace {
QString prefix(int k) {
    return Element("MorChkMultResNum0XX", k);
}
QString longDistance(int k) {
    return Element("MorChkMultResLarDis", k);
}

Fields boxes(const QString& options, const QString& prefixes, const QString& longOnes) {
    Fields out = RestrictionBoxes(options);
    for (int k = 0; k < 9; ++k) out << Field{prefix(k), prefixes.mid(k, 1)};
    for (int k = 0; k < 6; ++k) out << Field{longDistance(k), longOnes.mid(k, 1)};
    return out;
}
}  // namespace

ModelCase HaldrivonexaCase() {
    ModelCase c;
    c.id = ModelId::Haldrivonexa;
    c.modelButton = 5;
    QList<QPair<int, QString>> record{
        {1, "Prohibidas"}, {2, "Libres"}, {3, "Troncal"},    {21, "60"},
        {22, "120"},       {23, "*9"},    {24, "1"},         {25, "x"},
        {26, "0"},         {33, "1"},     {41, "111111000"}, {42, "Haldrivonexa"},
        {44, "1357"},      {45, "30"},    {46, "Uno"},       {56, "000001"}};
    for (int k = 0; k < 9; ++k) record << qMakePair(4 + k, QStringLiteral("Prefijo %1").arg(k));
    for (int k = 0; k < 6; ++k) record << qMakePair(13 + k, QStringLiteral("Lada %1").arg(k));
    c.config = Record(record);
    c.configPanel = Fields{{"MorLblMulTit", "Haldrivonexa", Field::Caption},
                           {"MorLabMultDurP", "Prohibidas", Field::Caption},
                           {"MorLabMultDurL", "Libres", Field::Caption},
                           {"MorLabMultCon", "Troncal", Field::Caption},
                           {"MorChkMultResNum0XX00", "Prefijo 0", Field::Caption},
                           {"MorChkMultResNum0XX08", "Prefijo 8", Field::Caption},
                           {"MorChkMultResLarDis05", "Lada 5", Field::Caption},
                           {"MorChkRes01", "Uno", Field::Caption},
                           {"MorTexMultDurP", "60"},
                           {"MorTexMultDurL", "120"},
                           {"MorTexMultCon", "*9"},
                           {"MorTexResCla", "1357"},
                           {"MorTexBan", "000001"},
                           {"MorChkRes06", "1"},
                           // "x" leaves the box as it was
                           {"MorChkMultResNum0XX00", "1"},
                           {"MorChkMultResNum0XX01", "0"},
                           {"MorChkMultResLarDis00", "1"}};

    c.knownImage = [] {
        devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Haldrivonexa), "30");
        image.set(11, "2050");
        image.set(17, "0B0A0F");      // "*0" and an empty third digit
        image.set(23, "0416516304");  // options, prefixes, long distance
        image.set(33,
                  "020000"
                  "000105");
        return image;
    };
    c.knownPanel = Fields{{"MorTexResCla", "2050"},        {"MorTexBan", "110011"},
                          {"MorTexMultCon", "*0"},         {"MorTexMultDurL", "200"},
                          {"MorTexMultDurP", "015"},       {"MorTexResFirm", "30"},
                          {"MorTexResUs", "Dravenquista"}, {"MorTexResMod", "Dravenquista"}} +
                   boxes("110011", "101001110", "011100");
    c.frameAsStored = [](const QString& frame) { return DialAsStored(frame, {{18, 22, true}}); };
    c.edits = {{"MorTexResCla", "7008", "7008"},    {"MorChkRes03", "1", "1"},
               {"MorChkRes06", "0", "0"},           {"MorChkMultResNum0XX01", "1", "1"},
               {"MorChkMultResLarDis05", "1", "1"}, {"MorTexMultDurP", "9", "009"},
               {"MorTexMultCon", "#", "#"}};

    c.randomPanel = [](Program& p, QRandomGenerator& r) {
        const QString key = RandomKey(r, 4);
        const QString options = RandomBits(r, 6);
        const QString prefixes = RandomBits(r, 9);
        const QString longOnes = RandomBits(r, 6);
        const QString free = QString::number(r.bounded(256));
        const QString prohibited = QString::number(r.bounded(256));
        const QString trunk = RandomDigits(r, 0, 3, kDialDigits);
        Set(p, "MorTexResCla", key);
        for (int k = 1; k <= 6; ++k) Set(p, Check(k), options.mid(k - 1, 1));
        for (int k = 0; k < 9; ++k) Set(p, prefix(k), prefixes.mid(k, 1));
        for (int k = 0; k < 6; ++k) Set(p, longDistance(k), longOnes.mid(k, 1));
        Set(p, "MorTexMultDurL", free);
        Set(p, "MorTexMultDurP", prohibited);
        Set(p, "MorTexMultCon", trunk);
        return Fields{{"MorTexResCla", key},
                      {"MorTexBan", options},
                      {"MorTexMultDurL", free.rightJustified(3, '0')},
                      {"MorTexMultDurP", prohibited.rightJustified(3, '0')},
                      {"MorTexMultCon", trunk}} +
               boxes(options, prefixes, longOnes);
    };
    return c;
}

}  // namespace morla::suite
