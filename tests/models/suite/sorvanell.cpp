// The Sorvanell in the model suite: key and programming number with a "*" inside, alert digit,
// count of interventions, its two option boxes and flags 1, 4 and 7.
#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

namespace {
// Two digits (the first not 0 for a key), "*", two digits.
QString starred(QRandomGenerator& r, bool key) {
    const QString first = key ? RandomKey(r, 2) : RandomDigits(r, 2, 2, "0123456789");
    return first + "*" + RandomDigits(r, 2, 2, "0123456789");
}
}  // namespace

ModelCase SorvanellCase() {
    ModelCase c;
    c.id = ModelId::Sorvanell;
    c.modelButton = 2;
    // clang-format off
    c.config = Record({{1, "Número de programación"}, {2, "Dígito de alerta"}, {3, "Tono de aviso"},
                       {4, "Bloqueo de grabación"}, {21, "11*22"}, {22, "5"}, {23, "1"}, {24, "0"},
                       {41, "100100100"}, {42, "Sorvanell"}, {44, "12*34"}, {45, "12"},
                       {46, "Aviso de intervención"}, {49, "Alerta sonora"},
                       {52, "Alerta permanente"}, {56, "0001000"}});
    // clang-format on
    c.configPanel = Fields{{"MorLabAle", "Sorvanell", Field::Caption},
                           {"Frame4", "Numero de Intervenciones", Field::Caption},
                           {"Frame3", "Opciones de programación", Field::Caption},
                           {"MorlblAleAut", "Número de programación", Field::Caption},
                           {"MorlblAleDigAler", "Dígito de alerta", Field::Caption},
                           {"MorChkAleTono", "Tono de aviso", Field::Caption},
                           {"MorChkAleBlqGrb", "Bloqueo de grabación", Field::Caption},
                           {"MorChkRes01", "Aviso de intervención", Field::Caption},
                           {"MorChkRes07", "Alerta permanente", Field::Caption},
                           {"MorTxtAleAut", "11*22"},
                           {"MorTxtAleDigAler", "5"},
                           {"MorChkAleTono", "1"},
                           {"MorChkAleBlqGrb", "0"},
                           {"MorTexResCla", "12*34"},
                           {"MorTexBan", "0001000"}} +
                    RestrictionBoxes("0001000", 7);

    c.knownImage = [] {
        devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Sorvanell), "12");
        image.set(11, Pairs("31*42", u'*'));
        image.set(21, Pairs("56*78", u'*'));
        image.set(31, "0C");      // alert digit "#"
        image.set(33, "59");      // recording lock and flag 4; flags 7 and 1
        image.set(35, "0C0800");  // 200 interventions
        return image;
    };
    c.knownPanel = Fields{{"MorTexResCla", "56*78"},       {"MorTxtAleAut", "31*42"},
                          {"MorTxtAleDigAler", "#"},       {"MorTexAleNumInter", "200"},
                          {"MorChkAleBlqGrb", "1"},        {"MorChkAleTono", "0"},
                          {"MorTexBan", "1001001"},        {"MorTexResFirm", "12"},
                          {"MorTexResUs", "Dravenquista"}, {"MorTexResMod", "Dravenquista"}} +
                   RestrictionBoxes("1001001", 7);
    c.edits = {{"MorTexResCla", "65*87", "65*87"}, {"MorTxtAleAut", "90*01", "90*01"},
               {"MorTxtAleDigAler", "*", "*"},     {"MorTexAleNumInter", "7", "7"},
               {"MorChkAleTono", "1", "1"},        {"MorChkRes04", "0", "0"}};
    // Its frame carries the data text's closing "f": one character longer than the map.
    c.sendFrameIsMap = false;

    c.randomPanel = [](Program& p, QRandomGenerator& r) {
        const QString key = starred(r, true);
        const QString programming = starred(r, false);
        const QString alert = RandomDigits(r, 1, 1, kDialDigits);
        const QString count = QString::number(r.bounded(256));
        const QString options = RandomBits(r, 5);  // flags 1, 4, 7, lock, tone
        const QString flags =
            options.mid(0, 1) + "00" + options.mid(1, 1) + "00" + options.mid(2, 1);
        Set(p, "MorTexResCla", key);
        Set(p, "MorTxtAleAut", programming);
        Set(p, "MorTxtAleDigAler", alert);
        Set(p, "MorTexAleNumInter", count);
        Set(p, "MorChkAleBlqGrb", options.mid(3, 1));
        Set(p, "MorChkAleTono", options.mid(4, 1));
        for (int k = 1; k <= 9; ++k) Set(p, Check(k), k <= 7 ? flags.mid(k - 1, 1) : "0");
        return Fields{{"MorTexResCla", key},
                      {"MorTxtAleAut", programming},
                      {"MorTxtAleDigAler", alert},
                      {"MorTexAleNumInter", count},
                      {"MorChkAleBlqGrb", options.mid(3, 1)},
                      {"MorChkAleTono", options.mid(4, 1)},
                      {"MorTexBan", flags}} +
               RestrictionBoxes(flags, 7);
    };
    return c;
}

}  // namespace morla::suite
