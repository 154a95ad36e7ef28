#pragma once
// The program on a real serial port: a pseudo-terminal served by the device simulator, run as
// its own program with its log and memory in the test's program folder.
#include <QProcess>
#include <QStringList>

#include "link/serial/serialtransport.h"
#include "support/programfixture.h"

namespace morla::test {

class SimDevice {
  public:
    explicit SimDevice(const QString& folder);
    ~SimDevice();

    // Starts it on port 1 of the folder; a memory file written before start is its memory.
    bool start(const QStringList& args);
    void stop();
    void kill();
    QStringList logLines() const;
    // Complete messages the device took, in order.
    QStringList messages() const;
    // What the device did with the last message equal to `message` ("" if not taken yet).
    QString outcomeOf(const QString& message) const;
    // Every character the device received, in order.
    QString received() const;
    // The memory saved when it stopped.
    QString memory() const;
    QString memoryPath() const { return memory_; }

  private:
    QString folder_, log_, memory_;
    QProcess proc_;
};

// The program on a real port, with the simulator serving it as port 1 of its folder.
struct SimBench {
    SerialTransport port;
    ProgramFixture f{QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("Dravenquista"),
                     &port};
    SimDevice sim{f.dir.path()};
    Program& p = *f.p;

    bool start(const QStringList& simulatorArgs);
};

}  // namespace morla::test
