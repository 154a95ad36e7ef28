#pragma once
// One unit on one port: its own state, serial port, line session and verification, so that
// several run side by side in one event loop. Reads the unit, and writes and verifies it when
// asked; says how it went in a result a script can use.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "cli/context.h"
#include "core/config/deviceimage.h"
#include "core/models/fieldlayout.h"
#include "core/models/state.h"
#include "core/models/writetext.h"

namespace morla {

class LineSession;
class SerialTransport;
class WriteVerification;
struct VerifyOutcome;

namespace cli {

struct UnitResult {
    int exit = kDone;
    QString port;    // as given
    QString device;  // what it opened
    QString model;   // dispatch name of the unit that answered ("" without an answer)
    QString modelCode;
    QString firmware;
    QString digits;   // a read's reply less its first four characters
    QString key;      // the key the write took
    QString message;  // in Spanish: the outcome, or why there is none
    std::vector<FieldDifference> differences;
    bool written = false;  // the data text went out whole
    double readSeconds = 0, writeSeconds = 0, verifySeconds = 0, totalSeconds = 0;
};

// What to write: the file's model and firmware, and the write text built from it.
struct Plan {
    DeviceImage image;
    QString map;                     // the map the file stands for
    std::optional<WriteText> write;  // nothing for a model without a whole write
};

class UnitJob : public QObject {
    Q_OBJECT
  public:
    enum class Task { Read, Write, Verify };

    UnitJob(const Folder& folder, const PortSpec& port, QObject* parent = nullptr);
    ~UnitJob() override;

    // Read only; write the plan's configuration (and verify it); or read and compare.
    void start(Task task, const Plan* plan = nullptr, bool verify = true);
    // Ctrl+C: stops now unless the write is under way, which ends first.
    void interrupt();
    bool done() const { return done_; }
    bool writeUnderWay() const { return writing_; }
    const UnitResult& result() const { return result_; }
    const PortSpec& port() const { return port_; }

  signals:
    void progress(const QString& text);
    // Something the line reported that does not end the unit (a framing error).
    void warning(const QString& text);
    void finished();

  private:
    void replyReady(const QString& code);
    void startWrite();
    void dataSent();
    void verified(const VerifyOutcome& outcome);
    void compare();
    void differ(std::vector<FieldDifference> differences);
    void tickCountdown();
    void finish(int exit, const QString& message);

    const Folder& folder_;
    PortSpec port_;
    Task task_ = Task::Read;
    const Plan* plan_ = nullptr;
    bool verify_ = true;
    MorlaState s_;
    std::unique_ptr<SerialTransport> transport_;
    std::unique_ptr<LineSession> line_;
    WriteVerification* verification_ = nullptr;
    QTimer countdown_;
    QTimer watchdog_;  // a write left unverified still ends when the device stops answering
    QElapsedTimer clock_, phase_;
    UnitResult result_;
    bool writing_ = false;
    bool done_ = false;
};

}  // namespace cli
}  // namespace morla
