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
    // Linked as port `port` of the folder; a port other than 1 keeps its files apart (simN.*).
    explicit Simulator(const QString& folder, int port = 1) : folder_(folder), port_(port) {}
    ~Simulator() { stop(); }

    // Starts the simulator with these arguments; its memory file is sim.mem of the folder
    // (loaded at start when it exists, saved when it stops).
    bool start(const QStringList& args);
    // The same, on a memory of these digits written first.
    bool start(const QStringList& args, const QString& memoryDigits);
    void stop();
    void kill();
    QString memoryFile() const { return folder_ + QStringLiteral("/%1.mem").arg(base()); }
    QStringList logLines() const;
    // Complete messages the device took, in order.
    QStringList messages() const;
    // What the device did with the last message equal to `message` ("" if not taken yet).
    QString outcomeOf(const QString& message) const;
    // Every character the device received, in order.
    QString received() const;
    // The memory file's digits (after stop()).
    QString memory() const;

  private:
    QString base() const {
        return port_ == 1 ? QStringLiteral("sim") : QStringLiteral("sim%1").arg(port_);
    }
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
    // What the device did with the message `expected` (its log's words, without the details
    // in brackets), once taken; "not taken" when it never came.
    QString outcome(const QString& expected);
    // The single command chosen (as "Comando" would choose it), sent with its timer.
    QString send(const QString& number, const QString& value, const QString& expected,
                 const QString& index = {});
    // The command a control offers on its right press (a text box: on a double click), sent.
    QString sendFrom(const QString& control, const QString& expected);
    // The key change form opened from the key box with a double click, and sent.
    QString changeKey(const QString& newKey, const QString& expected);
    bool show();
};

// Fires the pause before the read-back once the data text is out, and waits for the
// verification to end; false when it does not.
bool FinishVerification(Bench& b);
// "&Enviar", the send timer fired, then FinishVerification. Returns the status line after it
// ("" when the write or the verification did not end).
QString WriteAndVerify(Bench& b);

}  // namespace morla::test
