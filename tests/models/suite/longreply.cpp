// Quarn (Dolmeth and Conmutador), Pellitor and Kovalindre in the model suite.
#include <QComboBox>

#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

namespace {
// What sets the three models apart in the suite.
struct Shape {
    ModelId id;
    const char* firmware;
    const char* base;
    const char* trunkBox;
    QString MorlaState::*trunk;
    int keyAt;            // key 1 besides map 11
    const char* counter;  // a counter at map `counterAt`
    int counterAt;
    const char* duration;  // a duration
    int durationAt;
    const char* memoryArray;  // memory numbers, the first at 41 or 61
    int memories, memoryAt;
    const char* keyArray = nullptr;  // keys 2.., the first element and its place
    int firstKey = 0, keys = 0, keyPlace = 0;
    QList<QPair<const char*, int>> numbers;  // every other number box and its place
    QList<QPair<int, const char*>> split;    // digits of a field at the blocks' edge
    Field splitBox;                          // and what a read shows of them
};

// clang-format off
const Shape kDolmeth{.id = ModelId::Quarn, .firmware = "8", .base = "Quarn",
    .trunkBox = "MorChkFlhResC00", .trunk = &MorlaState::SwitchTrunkState, .keyAt = 11,
    .counter = "MorTexFlhCon", .counterAt = 23, .duration = "MorTexFlhDurP", .durationAt = 29,
    .memoryArray = "MorTexFlhNumTel", .memories = 10, .memoryAt = 41,
    .numbers = {{"MorTexFlhLimSerMed", 35}},
    // Memory 5 from the end of block 1 into block 2.
    .split = {{121, "12345678"}, {133, "9A12FFFF"}}, .splitBox = {"MorTexFlhNumTel05", "123456789012"}};
const Shape kConmutador{.id = ModelId::Quarn, .firmware = "30", .base = "Quarn",
    .trunkBox = "MorChkFlhResC00", .trunk = &MorlaState::SwitchTrunkState, .keyAt = 205,
    .counter = "MorTexFlhCon", .counterAt = 23, .duration = "MorTexFlhDurP", .durationAt = 29,
    .memoryArray = "MorTexFlhNumTel", .memories = 10, .memoryAt = 41,
    .keyArray = "MorTexFlhClv", .firstKey = 1, .keys = 4, .keyPlace = 211,
    .numbers = {{"MorTexFlhLimSerMed", 35}},
    .split = {{121, "12345678"}, {133, "9A12FFFF"}}, .splitBox = {"MorTexFlhNumTel05", "123456789012"}};
const Shape kPellitor{.id = ModelId::Pellitor, .firmware = "15", .base = "Pellitor",
    .trunkBox = "MorChkConCon03", .trunk = &MorlaState::PellitorTrunkState, .keyAt = 145,
    .counter = "MorTexConSMC", .counterAt = 25, .duration = "MorTexConSMT", .durationAt = 49,
    .memoryArray = "MorTexConNumTel", .memories = 5, .memoryAt = 61,
    .keyArray = "MorTexConClv", .firstKey = 1, .keys = 4, .keyPlace = 151,
    .numbers = {{"MorTexConLDC", 31}, {"MorTexConLDT", 55}},
    // Memory 4 from the end of block 1 into block 2.
    .split = {{125, "1234"}, {133, "5678FFFFFFFF"}}, .splitBox = {"MorTexConNumTel04", "12345678"}};
const Shape kKovalindre{.id = ModelId::Kovalindre, .firmware = "30", .base = "Kovalindres",
    .trunkBox = "MorChkMulClvCom01", .trunk = &MorlaState::KovalindreTrunkState, .keyAt = 105,
    .counter = "MorTxtMulClvCon", .counterAt = 23, .duration = "MorTxtMulClvDurP", .durationAt = 29,
    .memoryArray = "MorTexMulClvNumTel", .memories = 4, .memoryAt = 41,
    .keyArray = "MorTxtMulClvClv", .firstKey = 0, .keys = 24, .keyPlace = 111,
    .numbers = {{"MorTexMulClvDurL", 35}},
    // Key 25, the last of block 2, beyond what a frame carries.
    .split = {{253, "99999F"}}, .splitBox = {"MorTxtMulClvClv23", "99999"}};
// clang-format on

ModelCase longCase(const Shape& s, int button, const QString& name) {
    ModelCase c;
    c.id = s.id;
    c.modelButton = button;
    c.configFirmware = QLatin1String(s.firmware);
    c.name = name;
    const bool pellitor = s.id == ModelId::Pellitor;
    using Numbered = QList<QPair<int, QString>>;
    // clang-format off
    Numbered record{{1, "Troncal de conmutador"}, {21, "0"}, {41, "101111000"}, {42, s.base},
                    {44, "12345"}, {45, s.firmware}, {46, "Locales"}, {48, "Nacional"},
                    {49, "Internacional"}, {50, "Servicios 900"}, {51, "Operadora"}, {56, "100000000"}};
    // clang-format on
    record += pellitor ? Numbered{{22, "6"},   {3, "Permitidas SM"}, {23, "040"}, {24, "020"},
                                  {25, "100"}, {26, "090"},          {27, "000"}, {28, "000"}}
                       : Numbered{{4, "Prohibidas"}, {24, "020"}, {27, "150"}, {28, "000"}};
    c.config = Record(record);
    c.configPanel = Fields{{"MorTexResCla", "12345"},
                           {s.trunkBox, "Troncal de conmutador", Field::Caption},
                           {s.trunkBox, "0"},
                           {"MorChkRes03", "Nacional", Field::Caption},
                           {"MorTexBan", "100000000"}} +
                    RestrictionBoxes("100000");
    if (pellitor)
        c.configPanel << Field{"MorLabConSMNP", "Permitidas SM", Field::Caption}
                      << Field{"MorTexConSMNP", "040"} << Field{"MorTexConLDT", "090"}
                      << Field{"MorComConDLL", "6"};
    else
        c.configPanel << Field{s.id == ModelId::Quarn ? "MorLabFlhDurP" : "MorLabMulClvDurP",
                               "Prohibidas", Field::Caption}
                      << Field{s.duration, "020"} << Field{s.numbers[0].first, "150"};
    if (s.id == ModelId::Quarn)
        c.configPanel << Field{"MorLabFlhTit", s.keyAt == 11 ? " Quarn Dolmeth" : " Quarn",
                               Field::Caption};

    // Every value as the device's own write would leave it, so that an unchanged write keeps
    // the image: key digit 0 as "A", "*" as "B", "#" as "C".
    c.knownImage = [s] {
        devsim::MemoryImage image = devsim::FactoryImage(Model(s.id), QLatin1String(s.firmware));
        image.set(11, "135A7F");
        image.set(s.keyAt, "135A7F");
        image.set(17, "2007");  // options 1, 4 and 6, and the trunk
        image.set(s.counterAt, "000107");
        image.set(s.durationAt, "010200");
        for (const auto& [box, at] : s.numbers) image.set(at, "000405");
        image.set(s.memoryAt, "5B5C1AFFFFFFFFFF");
        if (s.keyArray) image.set(s.keyPlace, "2A222F");
        for (const auto& [at, digits] : s.split) image.set(at, QLatin1String(digits));
        if (s.id == ModelId::Pellitor) {
            image.set(22, "8");
            image.set(37, "000400");  // the allowed calls of the configuration
            image.set(43, "000200");
        }
        return image;
    };
    c.knownPanel = Fields{{"MorTexResCla", "13507"},
                          {"MorTexBan", "100101"},
                          {"MorTexResFirm", s.firmware},
                          {"MorTexResUs", "Dravenquista"},
                          {s.trunkBox, "1"},
                          {s.counter, "017"},
                          {s.duration, "120"},
                          {Element(s.memoryArray, 0), "5*5#10"}} +
                   RestrictionBoxes("100101");
    for (const auto& [box, at] : s.numbers) c.knownPanel << Field{box, "045"};
    if (s.keyArray) c.knownPanel << Field{Element(s.keyArray, s.firstKey), "20222"};
    c.knownPanel << s.splitBox;
    if (pellitor) c.knownPanel << Field{"MorComConDLL", "8"};
    if (s.id == ModelId::Quarn)
        c.knownPanel << Field{
            "MorLabFlhTit", s.keyAt == 11 ? " Quarn Dolmeth" : " Quarn Conmutador", Field::Caption};

    c.edits = {{"MorTexResCla", "24680", "24680"},
               {"MorChkRes03", "1", "1"},
               {s.counter, "123", "123"},
               {s.duration, "7", "007"},
               {Element(s.memoryArray, 1), "#0*9", "#0*9"}};
    if (s.keyArray) c.edits << Edit{Element(s.keyArray, s.firstKey + 1), "777", "777"};
    if (pellitor) c.edits << Edit{"MorComConDLL", "5", "5"};
    // The frame's second block ends in "6E" and fill where the device keeps fields.
    c.sendFrameIsMap = false;

    c.randomPanel = [s](Program& p, QRandomGenerator& r) {
        const QString key = RandomKey(r, 5);
        QString flags = RandomBits(r, 6);
        flags[1] = '0';  // option 2 has no place in the device
        Set(p, "MorTexResCla", key);
        for (int k = 1; k <= 6; ++k) Set(p, Check(k), flags.mid(k - 1, 1));
        const QString trunk = RandomBits(r, 1);
        p.s.*s.trunk = trunk;
        Fields shown{{"MorTexResCla", key}, {"MorTexBan", flags}, {s.trunkBox, trunk}};
        shown += RestrictionBoxes(flags);
        QList<QPair<const char*, int>> numbers = s.numbers;
        numbers << QPair<const char*, int>{s.counter, 0} << QPair<const char*, int>{s.duration, 0};
        for (const auto& [box, at] : numbers) {
            const QString n = QString::number(r.bounded(256));
            Set(p, box, n);
            shown << Field{box, n.rightJustified(3, '0')};
        }
        for (int k = 0; k < s.memories; ++k) {
            const QString number = RandomDigits(r, 0, 16, kDialDigits);
            Set(p, Element(s.memoryArray, k), number);
            shown << Field{Element(s.memoryArray, k), number};
        }
        for (int k = 0; k < s.keys; ++k) {
            const QString value = RandomDigits(r, 0, 5, QStringLiteral("0123456789"));
            Set(p, Element(s.keyArray, s.firstKey + k), value);
            shown << Field{Element(s.keyArray, s.firstKey + k), value};
        }
        if (s.id == ModelId::Pellitor) {
            const QString local = QString::number(5 + r.bounded(4));
            Set(p, "MorComConDLL", local);
            shown << Field{"MorComConDLL", local};
        }
        return shown;
    };
    return c;
}
}  // namespace

ModelCase QuarnDolmethCase() {
    return longCase(kDolmeth, 10, QStringLiteral("Quarn Dolmeth"));
}
ModelCase QuarnConmutadorCase() {
    return longCase(kConmutador, 6, QStringLiteral("Quarn Conmutador"));
}
ModelCase PellitorCase() {
    return longCase(kPellitor, 7, QStringLiteral("Pellitor"));
}
ModelCase KovalindreCase() {
    return longCase(kKovalindre, 9, QStringLiteral("Kovalindre"));
}

}  // namespace morla::suite
