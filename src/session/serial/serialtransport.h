#pragma once
#include <QSerialPort>
#include <QTimer>

#include "session/transport.h"

namespace morla {

// The real serial port: 9600 8N1, every received byte handed on as its own event.
class SerialTransport : public Transport {
    Q_OBJECT
  public:
    explicit SerialTransport(QObject* parent = nullptr);
    bool open(int portNumber, const QString& appFolder, QString* error) override;
    // The same on a device named directly ("/dev/ttyUSB0", "COM3").
    bool openDevice(const QString& device, QString* error);
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void write(const QByteArray& bytes) override;
    QString deviceName() const override { return device_; }
    QString portText() const override { return resolved_.text(); }
    QString lostCause() const override;
    bool portMoved() const override;

  private:
    bool openResolved(const QString& device, QString* error);
    QString precheck() const;
    QString causeOf(QSerialPort::SerialPortError error) const;
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void pollLineCounters();

    QSerialPort port_;
    QString device_;
    // What the port number stood for at the last open, to see later whether it still does.
    int portNumber_ = 0;
    QString appFolder_;
    PortDevice resolved_;
    // Line-error counters of the driver, where it keeps them (framing, overrun, parity, break).
    struct Counters {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    };
    Counters counters_;
    bool haveCounters_ = false;
    // While open() runs, errors are kept for its message instead of being reported.
    bool opening_ = false;
    bool closing_ = false;
    QSerialPort::SerialPortError openError_ = QSerialPort::NoError;
};

// Spanish cause of a failed open, for the device and the error the port reported. Checks the
// device itself first, so that "in use" is told apart from "no permission".
QString SerialOpenCause(const QString& device, QSerialPort::SerialPortError error);

// Whether the device of a port is on this machine now.
bool SerialDevicePresent(const QString& device);

}  // namespace morla
