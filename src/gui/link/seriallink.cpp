#include "gui/link/seriallink.h"

#include <QTime>

#include "core/codec/codec.h"
#include "core/codec/text.h"
#include "gui/link/modemlink.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

void SerialSend(Program& p, QString& message) {
    MorlaState& s = p.s;
    s.PendingMessage = message;
    message = QStringLiteral("D") + message + QStringLiteral("12");
    if (s.SendPosition == 1) emit p.messageStarted();
    if (s.SendPosition >= 1 && s.SendPosition <= message.size())
        p.port.write(ToAnsi(message.mid(s.SendPosition - 1, 1)));
    s.SendPosition += 1;
    if (s.SendPosition == message.size()) {
        p.port.write(QByteArrayLiteral("P"));
        s.SendPosition = 1;
        ShowMessageSent(p);
        emit p.messageSent();
    } else if (s.SendPosition > message.size()) {
        // A shorter message started over a longer one's position: begin again.
        s.SendPosition = 1;
    }
}

void StartMessage(Program& p, const QString& message) {
    p.s.SendPosition = 1;
    QString copy = message;
    SerialSend(p, copy);
}

void ReceiveByte(Program& p, char byte) {
    p.receiveQueue.push_back(byte);
    if (p.inReceive) return;  // a message box inside the event: take it when it returns
    p.inReceive = true;
    while (!p.receiveQueue.empty()) {
        const char next = p.receiveQueue.front();
        p.receiveQueue.pop_front();
        OnComm(p, next);
    }
    p.inReceive = false;
}

void OnComm(Program& p, char byte) {
    MorlaState& s = p.s;
    MonitorText& mon = s.Monitor;
    s.ReceivedChunk = FromAnsi(QByteArray(1, byte));
    mon.txttodo.append(s.ReceivedChunk);
    if (s.ReceivedChunk == QStringLiteral("T")) {
        QString copy = s.PendingMessage;
        SerialSend(p, copy);
    } else if (p.replyTap) {
        const auto tap = p.replyTap;  // it may remove itself
        tap(byte);
        return;
    }
    if (s.ReceivedChunk == QStringLiteral("0")) s.ReceiveOpen = QStringLiteral("OK");
    // The reply of a read under way is counted from its first character, even one damaged on
    // the line, so that a reply that does not begin as replies do is still seen to end.
    const bool replyCharacter = p.readInProgress && (s.ReplyCharacters > 0 || byte != 'T');
    if (replyCharacter) {
        if (s.ReplyCharacters == 0) s.ReplyStartDamaged = byte != '0';
        ++s.ReplyCharacters;
    }
    if (s.ReceiveOpen == QStringLiteral("OK")) ReceiveReplyCharacter(p, byte);
    if (replyCharacter) CheckDamagedReply(p);
}

void ReceiveReplyCharacter(Program& p, char byte) {
    MorlaState& s = p.s;
    const int code = static_cast<unsigned char>(byte);
    MonitorText& mon = s.Monitor;
    mon.MorTexMon04.append(s.ReceivedChunk);
    mon.MorTexMon05.append(DecToHex2(QString::number(code)));
    mon.MorTexMon06.append(QStringLiteral("-") + QString::number(code));
    // A read reported failed is over: what still arrives of it is shown, never decoded, so
    // it cannot overwrite what the technician edits after the error.
    if (s.ReadReportedFailed) return;
    // Nor is a reply that did not begin with "0": its model code and length cannot be trusted;
    // it is judged once it has the expected model's length.
    if (p.readInProgress && s.ReplyStartDamaged) return;
    const QStringView reply = mon.MorTexMon04.view();
    // Only a reply names the model: the acknowledgments of later sends also land here (the
    // reception stays open after a read), and must not replace the model code.
    if (reply.size() > 6 && reply.startsWith('0')) s.ModelCode = reply.mid(4, 2).toString();

    if (p.readInProgress) {
        const ModelInfo* m = ModelByCode(s.ModelCode);
        ShowReadProgress(p, int(reply.size()), m ? m->replyLength : 0);
    }
    CallReadReply(p, s.ModelCode);
}

void TimerPIDTick(Program& p) {
    MorlaState& s = p.s;
    if (!IsModemMode(p)) {
        const bool data = ValOf(s.SendWholeFrame) == 1;
        QString message = data ? s.SendData : s.CommandString;
        if (!EnsurePortOpen(p)) {
            s.SendWholeFrame = QStringLiteral("0");
            p.main->TimerPID->stop();
            p.main->sendStatus->clear();
            return;
        }
        const ModelInfo* model = ModelByCode(s.ModelCode);
        const QString to = model ? QStringLiteral(" al ") + model->dispatch() : QString();
        // The data goes last: the status line cuts what does not fit, and the time must show.
        p.outgoingNote = data ? QStringLiteral("Configuración enviada%1").arg(to)
                              : QStringLiteral("Comando %1 enviado%2").arg(message, to);
        p.outgoingDetail = data ? QStringLiteral(" (datos %1)").arg(message) : QString();
        p.main->sendStatus->setText(QStringLiteral("Enviando..."));
        SerialSend(p, message);
        s.SendWholeFrame = QStringLiteral("0");
    } else {
        ModemTimerPID(p);
    }
    p.main->TimerPID->stop();
}

void TimerECTick(Program& p) {
    p.main->TimerEC->stop();
    p.endReadProgress();
    p.s.ReadReportedFailed = true;
    // No reply because the port's device went away: that is what the technician must hear.
    const QString lost = p.portAccess.checkAfterSilence(p.s.ComPortNumber);
    p.msg.info(lost.isEmpty() ? QStringLiteral("Error de Comunicación") : lost);
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
}

void EnableTimerEC(Program& p) {
    if (p.main->TimerEC->interval() > 0) p.main->TimerEC->start();
}

void ClearMonitor(Program& p) {
    MonitorText& m = p.s.Monitor;
    for (TextBox* box : {&m.MorTexMon01, &m.MorTexMon02, &m.MorTexMon03, &m.MorTexMon04,
                         &m.MorTexMon05, &m.MorTexMon06, &m.MorTexMon08})
        box->clear();
}

bool OpenPort(Program& p) {
    const QString failure = p.portAccess.open(p.s.ComPortNumber, p.s.AppFolder);
    if (!failure.isEmpty()) p.msg.info(failure);
    return failure.isEmpty();
}

bool EnsurePortOpen(Program& p) {
    if (IsModemMode(p)) return true;
    const QString failure = p.portAccess.ready(p.s.ComPortNumber, p.s.AppFolder);
    if (!failure.isEmpty()) p.msg.info(failure);
    return failure.isEmpty();
}

void ShowSendCountdown(Program& p) {
    const int ms = p.main->TimerPID->remainingTime();
    if (!p.main->TimerPID->isActive() || ms < 0) {
        p.main->sendCountdown->stop();
        return;
    }
    const int seconds = qMin((ms + 999) / 1000, p.main->TimerPID->interval() / 1000);
    p.main->sendStatus->setText(QStringLiteral("Envío en %1 s").arg(seconds));
    if (!p.main->sendCountdown->isActive()) p.main->sendCountdown->start();
}

void ShowMessageSent(Program& p) {
    if (p.outgoingNote.isEmpty()) return;
    p.main->sendStatus->setText(QStringLiteral("%1 a las %2%3")
                                    .arg(p.outgoingNote,
                                         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                         p.outgoingDetail));
    p.outgoingNote.clear();
    p.outgoingDetail.clear();
}

void ReadCommandStart(Program& p) {
    MorlaState& s = p.s;
    if (!EnsurePortOpen(p)) return;
    p.outgoingNote.clear();
    p.main->MorTexEst->setText(QStringLiteral("Leyendo"));
    ClearMonitor(p);
    s.ReceiveOpen.clear();
    // The model shown is the one whose reply is expected.
    const ModelInfo* shown = ModelByCode(s.ModelCode);
    if (!shown) shown = ModelByDispatchName(s.EquipmentName);
    s.ReadModelCode = shown ? shown->code() : QString();
    s.ReplyCharacters = 0;
    s.ReplyStartDamaged = false;
    s.ReadReportedFailed = false;
    s.ModelCode.clear();
    // Every read starts with its full retries, whatever earlier reads used.
    s.ReadRetryCount = 0;
    s.SendPosition = 1;
    p.main->MorTexResCla->setEnabled(true);
    QString command = s.ReadCommand;
    SerialSend(p, command);
    EnableTimerEC(p);
    p.readInProgress = true;
    ShowReadProgress(p, 0, 0);
}

void ShowReadProgress(Program& p, int received, int replyLength) {
    // Until the model code has arrived the length of the reply is not known.
    QProgressBar* bar = p.main->readProgress;
    if (replyLength > 0) {
        bar->setRange(0, replyLength);
        bar->setValue(qMin(received, replyLength));
        bar->setFormat(QStringLiteral("%v de %m caracteres"));
    } else {
        bar->setRange(0, qMax(received, 1));
        bar->setValue(received);
        bar->setFormat(QStringLiteral("%v caracteres"));
    }
    bar->show();
}

}  // namespace morla
