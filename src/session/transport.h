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

// The device that serial port n stands for on this platform.
QString SerialDeviceFor(int portNumber, const QString& appFolder);

}  // namespace morla
