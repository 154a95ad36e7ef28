#pragma once
// What every command of the command line shares: the program folder with its settings and
// device commands, and the ports as the technician names them.
#include <QString>
#include <QStringList>
#include <optional>

#include "core/config/softwaresettings.h"

namespace morla {

struct ModelInfo;

namespace cli {

// Exit statuses a script can trust.
enum Exit : int {
    kDone = 0,        // done (and verified)
    kDiffers = 1,     // the verification or the comparison found differences
    kLineFailed = 2,  // no answer, a damaged reply after its retries, a port missing or busy
    kBadInput = 3,    // unreadable or damaged file, unknown model, bad arguments
    kInterrupted = 130,
};

struct Folder {
    QString path;
    SoftwareSettings settings;
    QString readCommand, writeCommand;  // each the code and "f", as the windows load them
    QString commandsProblem;            // why the command file could not be read ("" if it was)
    QString classCode;                  // the installation class's code in a write frame

    static Folder Load(const QString& path);
    Paths paths() const { return Paths{path, QStringLiteral("Utilerias")}; }
    // The model configuration record of this firmware (empty fields without a file).
    QStringList configRecord(const ModelInfo& m, const QString& firmware) const;
    bool hasConfig(const ModelInfo& m, const QString& firmware) const;
    // The read's time-out in ms: the configured one, or a bound of its own for "never".
    int timeoutMs() const;
};

// A port as given: a number as the program uses it (1 = COM1, found through the program
// folder), "COMn", or a device path.
struct PortSpec {
    int number = 0;  // 0: a device given by path
    QString device;  // the device path when given so
    QString given;   // as written on the command line

    static std::optional<PortSpec> Parse(const QString& text);
    // The device it opens now.
    QString deviceIn(const QString& folder) const;
    // "Puerto 1", or the device path: what progress and results are headed with.
    QString label() const;
    // "COM1", or the device path: the log's port column.
    QString logName() const;
    // "el puerto serie 1 (/dev/ttyS0)" / "el puerto /dev/ttyUSB0", for messages.
    QString described(const QString& folder) const;
};

}  // namespace cli
}  // namespace morla
