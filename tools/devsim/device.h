#pragma once
// The device's side of the line: acknowledges the framed messages, tells the closing "1"
// from a "1" inside a message, and carries out what the messages ask of its memory. It
// neither paces nor writes: what it would put on the line comes out of send().
#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "devsim/faults.h"
#include "devsim/image.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

struct DeviceTiming {
    // How long a "1" waits for "P". The program sends the next message character only after
    // our "T", so a "1" inside a message is never followed this fast by anything.
    int closingWaitMs = 15;
    // A message that gets no further character for this long is dropped, so that a program
    // that gave up half-way can start over with "D" (0: never).
    int abandonMs = 2000;
};

class Device : public QObject {
    Q_OBJECT
  public:
    Device(const MemoryImage& memory, const MemoryImage& factory, const Faults& faults,
           const DeviceTiming& timing = {}, QObject* parent = nullptr);

    void receive(const QByteArray& characters);
    const MemoryImage& memory() const { return memory_; }

  signals:
    void send(const QByteArray& characters);
    void note(const QString& line);

  private:
    void take(char c);
    void takeInMessage(char c);
    void acknowledge();
    void closingTimedOut();
    void abandon();
    void handle(const QString& message);
    void report(const QString& what, const Result& result);
    void storeData(const QString& dataText);
    void sendReply(const QString& why);
    void out(const QByteArray& characters);

    MemoryImage memory_;
    const MemoryImage factory_;
    const ModelBehaviour& behaviour_;
    const Faults faults_;
    const DeviceTiming timing_;

    bool inMessage_ = false;
    QString message_;
    QString loose_;  // last characters seen outside a frame
    bool writePending_ = false;
    int sent_ = 0;
    int replies_ = 0;
    int writes_ = 0;  // data texts stored
    QTimer closing_;
    QTimer abandon_;
};

}  // namespace morla::devsim
