#pragma once
// The serial line as the program sees it: open a numbered port, write text, and get each
// received byte as its own event. Tests and the device simulator stand in behind it.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace morla {

class Transport : public QObject {
    Q_OBJECT
  public:
    enum class LineError { Break, Framing, Overrun, ReceiveOverflow, Parity, TransmitFull, Config };

    using QObject::QObject;
    ~Transport() override = default;

    // Opens port n at 9600 8N1. On failure returns false and says why in error.
    virtual bool open(int portNumber, const QString& appFolder, QString* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    // The device behind port n, for messages.
    virtual QString deviceName() const = 0;
    // The port as messages name it: the device, or the COMn link and the device it names.
    virtual QString portText() const { return deviceName(); }
    // While open: why the device it was opened on is gone ("no existe", "el dispositivo se
    // desconectó"); "" while it is there.
    virtual QString lostCause() const { return {}; }
    // While open: its number now stands for another device (its COMn link was pointed
    // elsewhere).
    virtual bool portMoved() const { return false; }

  signals:
    void received(char byte);
    // Bytes handed to the line (for the trace).
    void written(const QByteArray& bytes);
    void lineError(morla::Transport::LineError error);
    // The port went away mid-session; it is closed already.
    void portLost(const QString& reason);
};

// Text of the message shown for a line error.
QString LineErrorText(Transport::LineError error);

// What serial port n of a program folder stands for now.
struct PortDevice {
    QString device;  // what to open; "" when there is nothing that may be opened
    QString link;    // the COMn link of the program folder that names it, "" for none
    // "<link> → <device>", "<link>" (a link that is gone) or the device. With shortLink the
    // link goes by its file name only.
    QString text(bool shortLink = false) const;
};

// Port n is the COMn link of the program folder when there is one, the system's n-th serial
// port otherwise. Once a COMn link has been seen for a folder, port n stays on links for the
// rest of the run: a link that has gone leaves no device rather than another one.
PortDevice ResolvePort(int portNumber, const QString& appFolder);

// The device that serial port n stands for on this platform ("" when none).
QString SerialDeviceFor(int portNumber, const QString& appFolder);

}  // namespace morla
