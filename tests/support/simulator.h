#pragma once
// The device simulator as a separate program serving a pseudo-terminal, linked as port 1 of a
// program folder; and the program on that real port. For the end-to-end tests.
#include <QProcess>
#include <QStringList>

#include "session/serial/serialtransport.h"
#include "support/programfixture.h"

namespace morla::test {

class Simulator {
  public:
    // Port n of the folder; its files are sim.log and sim.mem for port 1, simN.* otherwise.
    explicit Simulator(const QString& folder, int port = 1) : folder_(folder), port_(port) {}
    ~Simulator() { stop(); }

    // Starts the simulator with these arguments; its memory file is in the folder (loaded at
    // start when it exists, saved when it stops).
    bool start(const QStringList& args);
    // The same, on a memory of these digits written first.
    bool start(const QStringList& args, const QString& memoryDigits);
    void stop();
    void kill();
    QString memoryFile() const { return file(QStringLiteral("mem")); }
    QString memoryPath() const { return memoryFile(); }
    QStringList logLines() const;
    // Complete messages the device took, in order.
    QStringList messages() const;
    // What the device did with the last message equal to `message` ("" if not taken yet).
    QString outcomeOf(const QString& message) const;
    // Messages the device applied.
    int applied() const;
    // Every character the device received, in order.
    QString received() const;
    // The memory file's digits (after stop()).
    QString memory() const;

  private:
    QString file(const QString& suffix) const;
    QString folder_, log_, memory_;
    int port_;
    QProcess proc_;
};

// The program on a real port, with the simulator serving it as port 1 of its folder.
struct Bench {
    SerialTransport port;
    ProgramFixture f{QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("Dravenquista"),
                     &port};
    Simulator sim{f.dir.path()};
    Program& p = *f.p;

    bool start(const QStringList& simulatorArgs) {
        if (!sim.start(simulatorArgs)) return false;
        f.load();
        return true;
    }
    // "&Leer" until the status is idle again; false when it is not, or the read said anything.
    bool read();
};

}  // namespace morla::test
