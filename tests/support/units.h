#pragma once
// Every model as a simulated unit holding a configuration of its own, for the tests that carry
// a configuration from one unit to another. Header only: its users link the simulator's code.
#include <QList>
#include <QStringList>

#include "devsim/image.h"
#include "devsim/models/behaviour.h"
#include "support/simulator.h"

namespace morla::test {

// A model's factory image with these "position=digits" changes.
inline devsim::MemoryImage EditedImage(const ModelInfo& m, const QString& firmware,
                                       const QStringList& edits) {
    devsim::MemoryImage image = devsim::FactoryImage(m, firmware);
    for (const QString& edit : edits)
        image.set(edit.section('=', 0, 0).toInt(), edit.section('=', 1));
    image.refreshChecksums();
    return image;
}

struct UnitCase {
    const char* name;
    QString model, firmware;  // the simulator's --model and --firmware
    QStringList setUp;        // further simulator arguments
    QStringList memory;       // changes of the factory image; none for the simulator's own

    const ModelInfo& info() const { return *devsim::ModelByOptionName(model); }
    QStringList args() const { return QStringList{"--model", model, "--firmware", firmware}; }
    // FirmwareCode of a read: the Tervolinda's is read as two digits.
    QString configured() const {
        return model == QLatin1String("tervolinda") ? firmware.rightJustified(2, '0') : firmware;
    }
    // Starts `sim` as this unit; `blank`: as a unit of the model straight from the factory.
    bool start(Simulator& sim, bool blank = false) const {
        if (blank || memory.isEmpty()) return sim.start(args() + (blank ? QStringList() : setUp));
        return sim.start(args() + setUp, EditedImage(info(), firmware, memory).digits());
    }
};

inline QList<UnitCase> UnitCases() {
    const QStringList opts{"--key", "54321", "--options", "1011011"};
    return {
        {"Lúvero", "luvero", "30", {"--key", "4321", "--options", "101101"}, {}},
        {"Sorvanell", "sorvanell", "12", {"--key", "21*43", "--options", "10110"}, {}},
        // Options 1 and 3; durations 120 and 045; code "9*"; key 5031; "12*#" and "0"; memory
        // 2 "0123456789*#0123".
        {"Zentavira",
         "zentavira",
         "30",
         {},
         {"12=015", "17=010200000405090B0F", "35=5031", "39=12BCAFFF", "95=5551234FFFFFFFFF",
          "127=A1", "133=23456789BCA123"}},
        // Key 2050; code "*0"; options 110011 and boxes; durations 200 and 015.
        {"Haldrivonexa",
         "haldrivonexa",
         "30",
         {},
         {"11=2050", "17=0B0A0F", "23=0416516304", "33=020000000105"}},
        {"Quarn", "quarn", "30", opts, {}},
        {"Quarn Dolmeth", "quarn", "8", opts, {}},
        {"Pellitor", "pellitor", "15", opts, {}},
        {"Kovalindre", "kovalindre", "30", opts, {}},
        {"Tervolinda", "tervolinda", "72", {"--key", "4321", "--options", "10"}, {"23=0205080A"}},
        {"Tervolinda Voz", "tervolinda", "2", {"--key", "4321"}, {}},
    };
}

inline UnitCase UnitNamed(const QString& name) {
    for (const UnitCase& c : UnitCases())
        if (name == QString::fromUtf8(c.name)) return c;
    return {};
}

}  // namespace morla::test
