#pragma once
// One serial line and the device on it: messages framed and paced one character per
// acknowledgment, the receive event, a read's reply collected as bytes and turned into the digit
// map, the checksum, retry and time-out rules, and the two timers. It holds no windows: the
// windows, the verification and the command line listen to its signals.
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

#include "core/models/registry.h"
#include "core/models/state.h"
#include "session/transport.h"

namespace morla {

// The send timer: says when it is started, so a countdown can follow the wait.
class PacedTimer : public QTimer {
    Q_OBJECT
  public:
    using QTimer::QTimer;
    void start() {
        QTimer::start();
        emit started();
    }
  signals:
    void started();
};

class LineSession : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSendDelayMs = 5000;

    // The timers may belong to a window; when not given, the session makes its own.
    LineSession(MorlaState& state, Transport& port, PacedTimer* timerPID = nullptr,
                QTimer* timerEC = nullptr, QObject* parent = nullptr);

    MorlaState& s;
    Transport& port;
    PacedTimer* TimerPID;  // starts the data or command transmission once, 5 s after it is set
    QTimer* TimerEC;       // a read's response time-out

    // Sends the character at SendPosition of "D" & message & "1" & "2"; after the last but one
    // it also sends "P". On return message holds the framed text.
    void SerialSend(QString& message);
    // Starts a message from its first character.
    void StartMessage(const QString& message);
    // The send timer's transmission: SendData after a whole write, CommandString otherwise.
    void SendTimed();

    // One received byte: the receive event, queued while a listener of an earlier one is still
    // inside it (a message box).
    void receive(char byte);

    // The read command: a clear monitor and reply, ReadCommand framed on the line, TimerEC on.
    // `expectedCode` is the model whose reply is expected ("" when none is known).
    void StartRead(const QString& expectedCode);
    bool reading() const { return reading_; }
    // The read under way ends (well, badly, or the port went away).
    void EndRead();
    // Enables TimerEC unless its interval is 0 (a time-out of 0 seconds never fires).
    void EnableTimerEC();
    // Clears the monitor's transmission, reception and map boxes (not the command code).
    void ClearMonitor();

    // A whole reply laid out as the receive event leaves it (a stored read shown again): the
    // reception boxes, the model code and the map, as a good live reply sets them.
    void LoadReply(const QByteArray& reply);

    // While set, every received character but the acknowledgments goes here and nowhere else:
    // a reply read aside, which must not reach the panel.
    std::function<void(char)> aside;
    // Asked when a read times out: what to tell instead of "Error de Comunicación" when the
    // port's device went away meanwhile ("" when it did not).
    std::function<QString()> silenceCause;

  signals:
    // A message starts going out (its "D"); PendingMessage holds it.
    void messageStarted();
    // A message has gone out whole (its closing "P").
    void messageSent();
    // Characters of a read's reply so far, of the model's reply length (0: not known yet).
    void readProgress(int received, int replyLength);
    // The read under way is over.
    void readEnded();
    // A complete reply with good blocks: ReadMap, LastReadMap and LastReadText hold it.
    void replyReady(const QString& modelCode);
    // A reply with a bad block is asked for again: the retry count, before the command goes.
    void retrying(int count);
    // The read failed: the text the user is told.
    void readFailed(const QString& text);

  private:
    void onComm(char byte);
    void replyCharacter(char byte);
    void replyComplete(const ModelInfo& m);
    void badReply(const ModelInfo& m, int block);
    void readRetry();
    void checkDamagedReply();
    void timedOut();
    void fail(const QString& text);

    std::deque<char> queue_;
    bool inReceive_ = false;
    bool reading_ = false;
    // The reception box's characters as they came off the line.
    QByteArray reply_;
    // The read under way: the model whose reply it expects, the characters of the reply so far
    // (from the first that is not an acknowledgment), whether that first one was not the "0"
    // every reply begins with, and whether the read has already been reported failed.
    QString readModelCode_;
    int replyCharacters_ = 0;
    bool replyStartDamaged_ = false;
    bool readReportedFailed_ = false;
};

}  // namespace morla
