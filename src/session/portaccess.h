#pragma once
// The chosen serial port across a session: opened when a command needs it, on whatever its
// number stands for at that moment, and what the technician reads when it cannot be used.
#include <QString>

#include "session/transport.h"

namespace morla {

class PortAccess {
  public:
    explicit PortAccess(Transport& port) : port_(port) {}

    // Opens port n afresh (a new choice, or the start). "" when it opened, otherwise the
    // message to show.
    QString open(int portNumber, const QString& appFolder);
    // Before a command: an open port stays unless its device has gone or its number now names
    // another device; a closed one is opened. "" when the command may go out.
    QString ready(int portNumber, const QString& appFolder);
    // The port reported its device gone and closed itself: the message for now.
    QString lost(int portNumber, const QString& cause);
    // A reply did not come: when the port's device went away meanwhile, the port is closed
    // and the message says so; "" when it is still there.
    QString checkAfterSilence(int portNumber);
    // The connection was lost and no open has worked since.
    bool wasLost() const { return lost_; }

  private:
    QString openPort(int portNumber, const QString& appFolder);

    Transport& port_;
    bool lost_ = false;
};

// The last port number that opened in this program folder (0 when none is known), and
// keeping it for the next start. Kept in "Puerto.ini" beside "Opciones.ini".
int LastGoodPort(const QString& appFolder);
bool RememberGoodPort(const QString& appFolder, int portNumber);

}  // namespace morla
