#include "session/serial/serialtransport.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif
#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
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
    portNumber_ = portNumber;
    appFolder_ = appFolder;
    resolved_ = ResolvePort(portNumber, appFolder);
    if (resolved_.device.isEmpty()) {
        device_.clear();
        // The port's link has gone: nothing stands in for it.
        if (error) *error = QStringLiteral("no existe");
        return false;
    }
    return openResolved(resolved_.device, error);
}

bool SerialTransport::openDevice(const QString& device, QString* error) {
    // Named directly: no number to resolve again later.
    portNumber_ = 0;
    appFolder_.clear();
    resolved_ = PortDevice{device, QString()};
    return openResolved(device, error);
}

bool SerialTransport::openResolved(const QString& device, QString* error) {
    device_ = device;
    port_.setPortName(device_);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(1024);
    opening_ = true;
    openError_ = QSerialPort::NoError;
    const bool opened = port_.open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        // Qt may have cleared its error by now (the error signal runs first): use the kept one.
        const QSerialPort::SerialPortError e =
            openError_ != QSerialPort::NoError ? openError_ : port_.error();
        if (error) *error = SerialOpenCause(device_, e);
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

QString SerialTransport::lostCause() const {
    if (!port_.isOpen()) return {};
    if (!SerialDevicePresent(device_)) return QStringLiteral("no existe");
#ifdef Q_OS_UNIX
    // A terminal whose other side has gone is hung up, even when a new one took its name.
    pollfd fd{int(port_.handle()), POLLIN, 0};
    if (::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return QStringLiteral("el dispositivo se desconectó");
#endif
    return {};
}

bool SerialTransport::portMoved() const {
    return port_.isOpen() && portNumber_ > 0 &&
           ResolvePort(portNumber_, appFolder_).device != device_;
}

void SerialTransport::close() {
    if (!port_.isOpen()) return;
    // What was written last (a message's closing "P") still goes out: closing drops it otherwise.
    // A device already gone fails this flush; whoever closes says why, so it is not said twice.
    closing_ = true;
    while (port_.isOpen() && port_.bytesToWrite() > 0 && port_.waitForBytesWritten(100)) {
    }
    closing_ = false;
    if (port_.isOpen()) port_.close();
}

void SerialTransport::write(const QByteArray& bytes) {
    if (!port_.isOpen()) return;
    port_.write(bytes);
    emit written(bytes);
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
    if (closing_) {
        // clearError() reports NoError again: leave that one alone.
        if (error != QSerialPort::NoError) port_.clearError();
        return;
    }
    if (opening_) {
        // Reported once by open() itself, as one message with its cause.
        if (error != QSerialPort::NoError && openError_ == QSerialPort::NoError) openError_ = error;
        return;
    }
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
            port_.clearError();
            if (!port_.isOpen()) return;
            port_.close();
            const QString cause = QFileInfo::exists(device_)
                                      ? QStringLiteral("el dispositivo dejó de responder")
                                      : QStringLiteral("el dispositivo se desconectó");
            emit portLost(cause);
            return;
        }
        default:
            port_.clearError();
            return;
    }
}

QString SerialOpenCause(const QString& device, QSerialPort::SerialPortError error) {
#ifdef Q_OS_UNIX
    struct stat st {};
    const QByteArray path = QFile::encodeName(device);
    if (::stat(path.constData(), &st) != 0) return QStringLiteral("no existe");
    if (!S_ISCHR(st.st_mode)) return QStringLiteral("no es un puerto serie");
    if (::access(path.constData(), R_OK | W_OK) != 0) return QStringLiteral("no hay permiso");
#else
    Q_UNUSED(device);
#endif
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return QStringLiteral("no existe");
        case QSerialPort::PermissionError:
            // The device exists and may be opened by us: someone else holds it.
            return QStringLiteral("está en uso");
        case QSerialPort::UnsupportedOperationError:
            return QStringLiteral("no es un puerto serie");
        case QSerialPort::OpenError:
            return QStringLiteral("ya está abierto");
        default:
            return QStringLiteral("el sistema no lo permite");
    }
}

}  // namespace morla
