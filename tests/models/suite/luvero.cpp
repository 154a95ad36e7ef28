// The Lúvero in the model suite: key and six options.
#include "devsim/models/behaviour.h"
#include "gui/main/program.h"
#include "models/suite/modelcase.h"

namespace morla::suite {

ModelCase LuveroCase() {
    ModelCase c;
    c.id = ModelId::Luvero;
    c.modelButton = 3;
    QList<QPair<int, QString>> record{{41, "111111000"}, {42, "Luvero"},  {44, "1234"},
                                      {45, "30"},        {52, "sin uso"}, {56, "010001000"}};
    for (int k = 1; k <= 6; ++k) record << qMakePair(45 + k, QStringLiteral("Opción %1").arg(k));
    c.config = Record(record);
    c.configPanel = Fields{{"MorLabBas", "Lúvero", Field::Caption},
                           {"MorTexResCla", "1234"},
                           {"MorChkRes01", "Opción 1", Field::Caption},
                           {"MorChkRes06", "Opción 6", Field::Caption},
                           {"MorChkRes07", "Restrictor07", Field::Caption},
                           {"MorTexBan", "010001000"}} +
                    RestrictionBoxes("010001");

    c.knownImage = [] {
        devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Luvero), "30");
        image.set(11, "1A3A");
        image.set(17, "2014");
        return image;
    };
    c.knownPanel = Fields{{"MorTexResCla", "1030"},
                          {"MorTexBan", "100101"},
                          {"MorTexResFirm", "30"},
                          {"MorTexResUs", "Dravenquista"},
                          {"MorTexResMod", "Dravenquista"}} +
                   RestrictionBoxes("100101");
    c.edits = {
        {"MorTexResCla", "5607", "5607"}, {"MorChkRes02", "1", "1"}, {"MorChkRes04", "0", "0"}};

    c.frameAsStored = [](const QString& frame) { return DialAsStored(frame, {{11, 14}}); };

    c.randomPanel = [](Program& p, QRandomGenerator& r) {
        const QString key = RandomKey(r, 4);
        const QString flags = RandomBits(r, 6);
        Set(p, "MorTexResCla", key);
        for (int k = 1; k <= 6; ++k) Set(p, Check(k), flags.mid(k - 1, 1));
        return Fields{{"MorTexResCla", key}, {"MorTexBan", flags}} + RestrictionBoxes(flags);
    };
    return c;
}

}  // namespace morla::suite
