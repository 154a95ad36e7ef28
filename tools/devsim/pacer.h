#pragma once
// Puts characters on the line no faster than the line carries them: a pty has no baud rate,
// and the program must see a reply arrive over time as it does from a device.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace morla::devsim {

// One character at 9600 bits per second: start bit, 8 data bits, stop bit.
constexpr qint64 kCharacterNs = 10LL * 1000000000LL / 9600;

class Pacer : public QObject {
    Q_OBJECT
  public:
    using Writer = std::function<void(const QByteArray&)>;
    Pacer(Writer writer, qint64 characterNs, QObject* parent = nullptr);

    void enqueue(const QByteArray& characters);

  private:
    void pump();

    Writer writer_;
    const qint64 characterNs_;
    QByteArray queue_;
    QElapsedTimer clock_;
    qint64 nextDueNs_ = 0;
    QTimer timer_;
};

}  // namespace morla::devsim
