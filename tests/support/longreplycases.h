#pragma once
// The long-reply models as test cases: each variant with its model button, firmware and
// configuration, a known device image, and replies built from a map.
#include <QByteArray>
#include <QString>
#include <span>

#include "core/config/recordfile.h"
#include "core/models/registry.h"

namespace morla::test {

struct LongCase {
    const char* name;
    ModelId id;
    int button;               // the model button that selects it
    const char* firmware;     // FirmwareCode of the button and of the known image
    const char* firmwareMap;  // map 3-4 of a reply with that firmware
    const char* simName;      // the simulator's --model
};
std::span<const LongCase> LongCases();
const LongCase& LongCaseNamed(const QString& name);

// Configuration records of every case, under the folder of `paths`.
void WriteLongConfigs(const Paths& paths);

// The map with its two block checksums and trailer set ("45", "6E" where the blank left "F").
QString WithChecksums(QString map266);
// "0245" and the map as reply characters.
QByteArray ReplyFromMap(const QString& map266);

// A device image of the case with one value of every kind: key 1 "13570", options 1, 4 and 6
// on and the trunk on, counters and durations, memory numbers with "*", "#" and "0", keys.
QString KnownImage(const LongCase& c);

}  // namespace morla::test
