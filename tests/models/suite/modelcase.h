#pragma once
// What the model suite needs to know of one model. The checks themselves are written once, in
// test_models.cpp, and run over every case listed there.
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/models/registry.h"
#include "devsim/image.h"

namespace morla {
class Program;
}

namespace morla::suite {

// A control of the main window by objectName and what it shows: for a text box its text, for
// a check box "1" ticked or "0" clear, for a list its current text; for a caption, the caption of a
// label, button, check box or frame.
struct Field {
    enum Kind { Value, Caption };
    QString control;
    QString value;
    Kind kind = Value;
};
using Fields = QList<Field>;

// A field set to `set` on the panel, and what a read of the device shows after the write.
struct Edit {
    QString control;
    QString set;
    QString readBack;
};

struct ModelCase {
    ModelId id;
    QString name;     // row name when the model has more than one button ("" for its own)
    int modelButton;  // MorCmd<nn> that selects the model
    // Firmware of the configuration file and of the model button, when not the registry's
    // default (a variant's own button).
    QString configFirmware;
    // Record 1 of the model's configuration file for its default firmware, and what the panel
    // shows from it when the model button is pressed.
    QStringList config;
    Fields configPanel;
    // Further firmware codes that get the same configuration file (the known device's).
    QStringList moreFirmware;
    // A device with known contents (checksums are refreshed by the suite), and what a read of
    // it shows.
    std::function<devsim::MemoryImage()> knownImage;
    Fields knownPanel;
    // One field of each kind changed after reading the known device.
    QList<Edit> edits;
    // SendFrame has the reply map's layout, so a replay of the last write decodes it.
    bool sendFrameIsMap = true;
    // Written one field at a time (no whole write): the round trip stores SendFrame, the
    // image its editor keeps of the device, instead of a data text.
    bool storesFrame = false;
    // The frame's digits as the device keeps them (where it writes some digit in another form,
    // as a key digit 0 kept as "A"); nothing when it keeps them as they are.
    std::function<QString(const QString& frame)> frameAsStored;
    // Fills the panel with a random valid configuration, and gives what a read shows for it.
    std::function<Fields(Program&, QRandomGenerator&)> randomPanel;
};

// A configuration record of 57 empty fields with the given ones filled (field numbers from 1).
QStringList Record(const QList<QPair<int, QString>>& fields);

// What `control` shows as `kind`, or "<missing>" when the main window has no such control.
QString Shown(Program& p, const QString& control, Field::Kind kind = Field::Value);
// Sets a text box's text or a check box's state ("1"/"0") as the user would leave it.
void Set(Program& p, const QString& control, const QString& value);

// A frame's dial digits ("0", "*", "#" as typed) as the devices keep them ("A", "B", "C"), at the
// map positions first..last of each run (with a step of 2 when `spaced`).
struct DialRun {
    int first, last;
    bool spaced = false;
};
QString DialAsStored(const QString& frame, const QList<DialRun>& runs);
// A key-like text as a device keeps it: "0" before each character, `asA` kept as "A".
QString Pairs(const QString& text, QChar asA);

// "MorChkRes01".. for restriction box k (from 1); "array" and a two-digit element number.
QString Check(int k);
QString Element(const char* array, int k);
inline const QString kDialDigits = QStringLiteral("0123456789*#");
// The nine restriction boxes from the first `used` flags; the others are clear.
Fields RestrictionBoxes(const QString& flags, int used = 6);

// Random helpers for the random panels.
QString RandomDigits(QRandomGenerator& r, int minLength, int maxLength, const QString& alphabet);
QString RandomKey(QRandomGenerator& r, int length);
QString RandomBits(QRandomGenerator& r, int count);

// The models of the suite, one function per model (suite/<model>.cpp).
ModelCase LuveroCase();
ModelCase ZentaviraCase();
ModelCase HaldrivonexaCase();
ModelCase QuarnDolmethCase();
ModelCase QuarnConmutadorCase();
ModelCase PellitorCase();
ModelCase KovalindreCase();
ModelCase SorvanellCase();
ModelCase TervolindaCase();
ModelCase TervolindaVozCase();

}  // namespace morla::suite
