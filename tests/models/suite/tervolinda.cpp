// The Tervolinda in the model suite, one case per model button: without voice (key, exit key,
// two options) and with voice (the key only). It is written one field at a time, so the
// suite's whole-write checks pass it by; its round trip stores the key editor's write frame.
#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

namespace {
Fields commonCaptions() {
    return Fields{{"MorLblPriv", "Tervolinda", Field::Caption},
                  {"MorFraPrivRes", "Restrictores", Field::Caption},
                  {"MorFraPrivNum9", "Bloquea números que inicien en 9", Field::Caption},
                  {"MorFraPrivElim1", "Elimina el primer 1 marcado en el sistema", Field::Caption},
                  {"MorFraPrivClv", "Clave", Field::Caption},
                  {"MorLblPrivClvSal", "Clave de Salida", Field::Caption}};
}

ModelCase tervolinda(bool voice) {
    ModelCase c;
    c.id = ModelId::Tervolinda;
    c.name = voice ? QStringLiteral("Tervolinda Voz") : QStringLiteral("Tervolinda");
    c.modelButton = voice ? 11 : 8;
    // clang-format off
    c.config = Record({{21, "9"}, {22, "2468"}, {23, "0"}, {41, "000000000"}, {42, "Tervolinda"},
                       {44, "1357"}, {45, "72"}, {56, "000000000"}});
    // clang-format on
    const QString ident = voice ? QStringLiteral("Con voz") : QStringLiteral("Sin voz");
    c.configPanel = commonCaptions() + Fields{{"MorLblPrivIdent", ident, Field::Caption},
                                              {"MorTexResCla", "1357"},
                                              {"MorTxtPrivClvSal", "2468"},
                                              {"MorFraPrivElim1", "1"},
                                              {"MorFraPrivNum9", "0"}};
    // A voice device reports firmware "02" and has its own configuration file.
    if (voice) c.moreFirmware = QStringList{"02"};
    c.knownImage = [voice] {
        devsim::MemoryImage image =
            devsim::FactoryImage(Model(ModelId::Tervolinda), voice ? "2" : "72");
        if (voice) {
            image.set(13, Pairs("9030", u'0'));
        } else {
            image.set(11, "0A09");
            image.set(15, Pairs("9030", u'0') + Pairs("4105", u'0'));
        }
        return image;
    };
    if (voice) {
        c.knownPanel = Fields{{"MorLblPrivIdent", "Con Voz", Field::Caption},
                              {"MorTexResCla", "9030"},
                              {"MorTexResFirm", "02"}};
    } else {
        c.knownPanel = Fields{{"MorLblPrivIdent", "Sin Voz", Field::Caption},
                              {"MorTexResCla", "9030"},
                              {"MorTxtPrivClvSal", "4105"},
                              {"MorFraPrivElim1", "0"},
                              {"MorFraPrivNum9", "1"},
                              {"MorTexResFirm", "72"}};
    }
    c.sendFrameIsMap = false;
    c.storesFrame = true;

    c.randomPanel = [voice](Program& p, QRandomGenerator& r) {
        const QString key = RandomKey(r, 4);
        Set(p, "MorTexResCla", key);
        if (voice) return Fields{{"MorTexResCla", key}};
        const QString exit = RandomDigits(r, 4, 4, "0123456789");
        const QString options = RandomBits(r, 2);
        Set(p, "MorTxtPrivClvSal", exit);
        Set(p, "MorFraPrivElim1", options.mid(0, 1));
        Set(p, "MorFraPrivNum9", options.mid(1, 1));
        return Fields{{"MorTexResCla", key},
                      {"MorTxtPrivClvSal", exit},
                      {"MorFraPrivElim1", options.mid(0, 1)},
                      {"MorFraPrivNum9", options.mid(1, 1)}};
    };
    return c;
}
}  // namespace

ModelCase TervolindaCase() {
    return tervolinda(false);
}

ModelCase TervolindaVozCase() {
    return tervolinda(true);
}

}  // namespace morla::suite
