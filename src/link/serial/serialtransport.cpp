#include "link/serial/serialtransport.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace morla {

bool SerialDevicePresent(const QString& device) {
#ifdef Q_OS_WIN
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.portName().compare(device, Qt::CaseInsensitive) == 0) return true;
    return false;
#else
    return QFileInfo::exists(device);
#endif
}

SerialTransport::SerialTransport(QObject* parent) : Transport(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialTransport::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

bool SerialTransport::open(int portNumber, const QString& appFolder, QString* error) {
    device_ = SerialDeviceFor(portNumber, appFolder);
    port_.setPortName(device_);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(1024);
    if (!port_.open(QIODevice::ReadWrite)) {
        QString reason;
        switch (port_.error()) {
            case QSerialPort::DeviceNotFoundError:
                reason = QStringLiteral("no existe");
                break;
            case QSerialPort::PermissionError:
                reason = QStringLiteral("está en uso o no hay permiso para abrirlo");
                break;
            default:
                reason = port_.errorString();
                break;
        }
        if (error) *error = reason;
        port_.clearError();
        return false;
    }
#ifdef Q_OS_LINUX
    serial_icounter_struct ic{};
    haveCounters_ = ::ioctl(int(port_.handle()), TIOCGICOUNT, &ic) == 0;
    if (haveCounters_) counters_ = {ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
#endif
    return true;
}

void SerialTransport::close() {
    if (port_.isOpen()) port_.close();
}

void SerialTransport::write(const QByteArray& bytes) {
    if (port_.isOpen()) port_.write(bytes);
}

void SerialTransport::onReadyRead() {
    pollLineCounters();
    // Qt may hand over several bytes at once; each is one receive event, in order.
    const QByteArray bytes = port_.readAll();
    for (char b : bytes) emit received(b);
}

void SerialTransport::pollLineCounters() {
#ifdef Q_OS_LINUX
    if (!haveCounters_ || !port_.isOpen()) return;
    serial_icounter_struct ic{};
    if (::ioctl(int(port_.handle()), TIOCGICOUNT, &ic) != 0) return;
    const Counters now{ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
    const Counters before = counters_;
    counters_ = now;
    if (now.brk != before.brk) emit lineError(LineError::Break);
    if (now.frame != before.frame) emit lineError(LineError::Framing);
    if (now.overrun != before.overrun) emit lineError(LineError::Overrun);
    if (now.bufOverrun != before.bufOverrun) emit lineError(LineError::ReceiveOverflow);
    if (now.parity != before.parity) emit lineError(LineError::Parity);
#endif
}

void SerialTransport::onError(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
        case QSerialPort::TimeoutError:
            return;
        case QSerialPort::UnsupportedOperationError:
            port_.clearError();
            emit lineError(LineError::Config);
            return;
        case QSerialPort::WriteError:
            if (port_.isOpen() && port_.bytesToWrite() > 0) {
                port_.clearError();
                emit lineError(LineError::TransmitFull);
                return;
            }
            [[fallthrough]];
        case QSerialPort::ResourceError:
        case QSerialPort::ReadError: {
            // The device went away (unplugged adapter, closed terminal): Qt would go on
            // signalling read errors without end, so the port is closed here, once.
            const QString reason = port_.errorString();
            port_.clearError();
            if (!port_.isOpen()) return;
            port_.close();
            emit portLost(reason);
            return;
        }
        default:
            port_.clearError();
            return;
    }
}

}  // namespace morla
