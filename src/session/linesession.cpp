#include "session/linesession.h"

#include "core/codec/codec.h"
#include "core/codec/text.h"
#include "core/models/modelcore.h"

namespace morla {

LineSession::LineSession(MorlaState& state, Transport& line, PacedTimer* timerPID, QTimer* timerEC,
                         QObject* parent)
    : QObject(parent), s(state), port(line), TimerPID(timerPID), TimerEC(timerEC) {
    // Precise, as the window's: a coarse timer may send the data a quarter second early.
    if (!TimerPID) {
        TimerPID = new PacedTimer(this);
        TimerPID->setObjectName(QStringLiteral("TimerPID"));
        TimerPID->setInterval(kSendDelayMs);
        TimerPID->setTimerType(Qt::PreciseTimer);
    }
    if (!TimerEC) {
        TimerEC = new QTimer(this);
        TimerEC->setObjectName(QStringLiteral("TimerEC"));
        TimerEC->setTimerType(Qt::PreciseTimer);
    }
    connect(&port, &Transport::received, this, &LineSession::receive);
    connect(TimerEC, &QTimer::timeout, this, &LineSession::timedOut);
}

void LineSession::SerialSend(QString& message) {
    s.PendingMessage = message;
    message = QStringLiteral("D") + message + QStringLiteral("12");
    if (s.SendPosition == 1) emit messageStarted();
    if (s.SendPosition >= 1 && s.SendPosition <= message.size())
        port.write(ToAnsi(message.mid(s.SendPosition - 1, 1)));
    s.SendPosition += 1;
    if (s.SendPosition == message.size()) {
        port.write(QByteArrayLiteral("P"));
        s.SendPosition = 1;
        emit messageSent();
    } else if (s.SendPosition > message.size()) {
        // A shorter message started over a longer one's position: begin again.
        s.SendPosition = 1;
    }
}

void LineSession::StartMessage(const QString& message) {
    s.SendPosition = 1;
    QString copy = message;
    SerialSend(copy);
}

void LineSession::SendTimed() {
    QString message = ValOf(s.SendWholeFrame) == 1 ? s.SendData : s.CommandString;
    SerialSend(message);
    s.SendWholeFrame = QStringLiteral("0");
}

void LineSession::receive(char byte) {
    queue_.push_back(byte);
    if (inReceive_) return;  // a listener is inside the event: take it when it returns
    inReceive_ = true;
    while (!queue_.empty()) {
        const char next = queue_.front();
        queue_.pop_front();
        onComm(next);
    }
    inReceive_ = false;
}

void LineSession::onComm(char byte) {
    MonitorText& mon = s.Monitor;
    s.ReceivedChunk = FromAnsi(QByteArray(1, byte));
    mon.txttodo.append(s.ReceivedChunk);
    if (byte == 'T') {
        QString copy = s.PendingMessage;
        SerialSend(copy);
    } else if (aside) {
        const auto tap = aside;  // it may remove itself
        tap(byte);
        return;
    }
    if (byte == '0') s.ReceiveOpen = QStringLiteral("OK");
    // The reply of a read under way is counted from its first character, even one damaged on
    // the line, so that a reply that does not begin as replies do is still seen to end.
    const bool counted = reading_ && (replyCharacters_ > 0 || byte != 'T');
    if (counted) {
        if (replyCharacters_ == 0) replyStartDamaged_ = byte != '0';
        ++replyCharacters_;
    }
    if (s.ReceiveOpen == QStringLiteral("OK")) replyCharacter(byte);
    if (counted) checkDamagedReply();
}

void LineSession::replyCharacter(char byte) {
    const int code = static_cast<unsigned char>(byte);
    MonitorText& mon = s.Monitor;
    mon.MorTexMon04.append(s.ReceivedChunk);
    mon.MorTexMon05.append(DecToHex2(QString::number(code)));
    mon.MorTexMon06.append(QStringLiteral("-") + QString::number(code));
    reply_.append(byte);
    // A read reported failed is over: what still arrives of it is shown, never decoded, so
    // it cannot overwrite what the technician edits after the error.
    if (readReportedFailed_) return;
    // Nor is a reply that did not begin with "0": its model code and length cannot be trusted;
    // it is judged once it has the expected model's length.
    if (reading_ && replyStartDamaged_) return;
    // Only a reply names the model: the acknowledgments of later sends also land here (the
    // reception stays open after a read), and must not replace the model code.
    if (reply_.size() > 6 && reply_.startsWith('0')) s.ModelCode = FromAnsi(reply_.mid(4, 2));
    const ModelInfo* m = ModelByCode(s.ModelCode);
    if (reading_) emit readProgress(int(reply_.size()), m ? m->replyLength : 0);
    if (m && reply_.size() == m->replyLength) replyComplete(*m);
}

void LineSession::replyComplete(const ModelInfo& m) {
    const QString map = ReplyMap(m, reply_);
    s.LoopIndex = 2 * m.replyLength + 1;
    s.Monitor.MorTexMon08.set(map);
    s.ReadMap = map;
    if (m.checksum != ChecksumPolicy::None) {
        if (const int block = BadChecksumBlock(map, m.blocks())) {
            badReply(m, block);
            return;
        }
    }
    // Only a good reply becomes the last read: a refused one never replaces it.
    s.LastReadMap = map;
    s.LastReadText = s.Monitor.MorTexMon04.text();
    s.LiveReplyFlag = 1;
    TimerEC->stop();
    EndRead();
    emit replyReady(m.code());
}

void LineSession::badReply(const ModelInfo& m, int block) {
    switch (m.checksum) {
        case ChecksumPolicy::RetryRead:
            readRetry();
            break;
        case ChecksumPolicy::ReportOnly:
            if (block > 1) s.ReadRetryCount = 0;
            // The read is over: no retry, and no time-out report after this one.
            fail(QStringLiteral("Error de Comunicación%1!").arg(block));
            break;
        case ChecksumPolicy::DropSilently:
        case ChecksumPolicy::None:
            break;  // the time-out reports a read that never gets a good reply
    }
    s.LiveReplyFlag = 1;
}

void LineSession::readRetry() {
    if (s.ReadRetryCount < s.MaxReadRetries) {
        s.ReadRetryCount += 1;
        emit retrying(s.ReadRetryCount);
        ClearMonitor();
        replyCharacters_ = 0;               // the reply starts over
        port.write(ToAnsi(s.ReadCommand));  // as it is, without the framing
        if (reading_) emit readProgress(0, 0);
    } else {
        s.ReadRetryCount = 0;
        fail(QStringLiteral("Error de Comunicación!"));
    }
}

void LineSession::checkDamagedReply() {
    if (!reading_ || readReportedFailed_) return;
    const ModelInfo* expected = ModelByCode(readModelCode_);
    if (!expected || replyCharacters_ != expected->replyLength) return;
    // A reply whose own model code names a model is that model's to judge, whatever its length.
    const bool codeKnown = reply_.size() > 6 && ModelByCode(FromAnsi(reply_.mid(4, 2))) != nullptr;
    if (replyStartDamaged_ || !codeKnown) badReply(*expected, 1);
}

void LineSession::timedOut() {
    const QString lost = silenceCause ? silenceCause() : QString();
    fail(lost.isEmpty() ? QStringLiteral("Error de Comunicación") : lost);
}

void LineSession::fail(const QString& text) {
    TimerEC->stop();
    if (reading_) readReportedFailed_ = true;
    EndRead();
    emit readFailed(text);
}

void LineSession::StartRead(const QString& expectedCode) {
    ClearMonitor();
    s.ReceiveOpen.clear();
    readModelCode_ = expectedCode;
    replyCharacters_ = 0;
    replyStartDamaged_ = false;
    readReportedFailed_ = false;
    s.ModelCode.clear();
    // Every read starts with its full retries, whatever earlier reads used.
    s.ReadRetryCount = 0;
    s.SendPosition = 1;
    QString command = s.ReadCommand;
    SerialSend(command);
    EnableTimerEC();
    reading_ = true;
    emit readProgress(0, 0);
}

void LineSession::EndRead() {
    if (!reading_) return;
    reading_ = false;
    emit readEnded();
}

void LineSession::EnableTimerEC() {
    if (TimerEC->interval() > 0) TimerEC->start();
}

void LineSession::ClearMonitor() {
    MonitorText& m = s.Monitor;
    for (TextBox* box : {&m.MorTexMon01, &m.MorTexMon02, &m.MorTexMon03, &m.MorTexMon04,
                         &m.MorTexMon05, &m.MorTexMon06, &m.MorTexMon08})
        box->clear();
    reply_.clear();
}

void LineSession::LoadReply(const QByteArray& reply) {
    ClearMonitor();
    MonitorText& mon = s.Monitor;
    QString hex, decimal;
    for (char c : reply) {
        const int code = static_cast<unsigned char>(c);
        hex += DecToHex2(QString::number(code));
        decimal += QStringLiteral("-") + QString::number(code);
    }
    reply_ = reply;
    mon.MorTexMon04.set(FromAnsi(reply));
    mon.MorTexMon05.set(hex);
    mon.MorTexMon06.set(decimal);
    s.ModelCode = reply.size() > 6 ? FromAnsi(reply.mid(4, 2)) : QString();
    const ModelInfo* m = ModelByCode(s.ModelCode);
    const QString map = m ? ReplyMap(*m, reply) : QString();
    mon.MorTexMon08.set(map);
    s.ReadMap = s.LastReadMap = map;
    s.LastReadText = mon.MorTexMon04.text();
    s.LiveReplyFlag = 1;
}

}  // namespace morla
