#include "gui/link/seriallink.h"

#include <QTime>

#include "core/codec/codec.h"
#include "gui/link/modemlink.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

namespace {
// A screen frame: the read's progress is shown at most this often.
constexpr int kFrameMs = 16;
}  // namespace

void SerialSend(Program& p, QString& message) {
    p.line->SerialSend(message);
}

void StartMessage(Program& p, const QString& message) {
    p.line->StartMessage(message);
}

void TimerPIDTick(Program& p) {
    MorlaState& s = p.s;
    if (!IsModemMode(p)) {
        const bool data = ValOf(s.SendWholeFrame) == 1;
        const QString message = data ? s.SendData : s.CommandString;
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
        p.line->SendTimed();
    } else {
        const QString command = s.CommandString;
        p.main->sendStatus->setText(
            ModemTimerPID(p)
                ? QStringLiteral("Comando %1 entregado a la línea a las %2")
                      .arg(command, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
                : QStringLiteral("Comando no enviado"));
    }
    p.main->TimerPID->stop();
    p.main->sendCancel->hide();
}

void CancelSend(Program& p) {
    if (!p.main->TimerPID->isActive()) return;
    p.main->TimerPID->stop();
    p.main->sendCountdown->stop();
    p.main->sendCancel->hide();
    p.s.SendWholeFrame = QStringLiteral("0");
    p.outgoingNote.clear();
    emit p.sendCancelled();
    p.main->sendStatus->setText(QStringLiteral("Envío cancelado"));
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
}

void ClearMonitor(Program& p) {
    p.line->ClearMonitor();
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
        p.main->sendCancel->hide();
        return;
    }
    p.main->sendCancel->show();
    const int seconds = qMin((ms + 999) / 1000, p.main->TimerPID->interval() / 1000);
    p.main->sendStatus->setText(QStringLiteral("Envío en %1 s").arg(seconds));
    if (!p.main->sendCountdown->isActive()) p.main->sendCountdown->start();
}

void ShowMessageSent(Program& p) {
    if (p.outgoingNote.isEmpty()) return;
    // The write is out: the status no longer says it is being written.
    if (p.main->MorTexEst->text() == QStringLiteral("Escribiendo"))
        p.main->MorTexEst->setText(QStringLiteral("Morla"));
    p.main->sendStatus->setText(QStringLiteral("%1 a las %2%3")
                                    .arg(p.outgoingNote,
                                         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                         p.outgoingDetail));
    p.outgoingNote.clear();
    p.outgoingDetail.clear();
}

QString LineBusy(Program& p) {
    // A read with no time-out never ends by itself: another read may take its place.
    if (p.line->reading() && p.main->TimerEC->isActive())
        return QStringLiteral("Ocupado: lectura en curso");
    if (p.main->TimerPID->isActive())
        return ValOf(p.s.SendWholeFrame) == 1 ? QStringLiteral("Ocupado: escritura en curso")
                                              : QStringLiteral("Ocupado: envío en curso");
    return {};
}

bool RefuseWhileBusy(Program& p) {
    const QString busy = LineBusy(p);
    if (busy.isEmpty()) return false;
    p.main->sendStatus->setText(busy);
    return true;
}

void ReadCommandStart(Program& p) {
    MorlaState& s = p.s;
    if (RefuseWhileBusy(p) || !EnsurePortOpen(p)) return;
    p.outgoingNote.clear();
    // A new action: the line beside the status tells of it, not of the one before.
    p.main->sendStatus->clear();
    p.main->sendStatus->setToolTip(QString());
    p.main->MorTexEst->setText(QStringLiteral("Leyendo"));
    // The model shown is the one whose reply is expected.
    const ModelInfo* shown = ModelByCode(s.ModelCode);
    if (!shown) shown = ModelByDispatchName(s.EquipmentName);
    p.main->MorTexResCla->setEnabled(true);
    p.line->StartRead(shown ? shown->code() : QString());
}

namespace {
void paintProgress(Program& p) {
    if (!p.line->reading()) return;
    // Until the model code has arrived the length of the reply is not known.
    QProgressBar* bar = p.main->readProgress;
    const int received = p.progressReceived, length = p.progressLength;
    // A progress bar repaints itself at once when its value changes; held, it is painted with
    // the rest of the window's changes of this frame.
    bar->setUpdatesEnabled(false);
    if (length > 0) {
        bar->setRange(0, length);
        bar->setValue(qMin(received, length));
        bar->setFormat(QStringLiteral("%v de %m caracteres"));
    } else {
        bar->setRange(0, qMax(received, 1));
        bar->setValue(received);
        bar->setFormat(QStringLiteral("%v caracteres"));
    }
    bar->setUpdatesEnabled(true);  // schedules the one paint
    bar->show();
}
}  // namespace

void ShowReadProgress(Program& p, int received, int replyLength) {
    p.progressReceived = received;
    p.progressLength = replyLength;
    // The read's start shows at once; what follows, once per frame.
    if (p.main->readProgress->isHidden()) {
        paintProgress(p);
        return;
    }
    if (!p.progressFrame->isActive()) p.progressFrame->start();
}

void ListenToSession(Program& p) {
    LineSession& line = *p.line;
    p.progressFrame = new QTimer(&p);
    p.progressFrame->setObjectName(QStringLiteral("progressFrame"));
    p.progressFrame->setSingleShot(true);
    p.progressFrame->setInterval(kFrameMs);
    QObject::connect(p.progressFrame, &QTimer::timeout, &p, [&p] { paintProgress(p); });
    QObject::connect(&line, &LineSession::readProgress, &p,
                     [&p](int received, int length) { ShowReadProgress(p, received, length); });
    QObject::connect(&line, &LineSession::readEnded, &p, [&p] {
        p.progressFrame->stop();
        p.main->readProgress->hide();
    });
    QObject::connect(&line, &LineSession::replyReady, &p, [&p](const QString& code) {
        CallReadReply(p, code);
        p.main->sendStatus->setText(QStringLiteral("Leído a las ") +
                                    QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
    QObject::connect(&line, &LineSession::retrying, &p, [&p](int count) {
        p.msg.info(QString::number(count));
        p.main->MorTexEst->setText(QStringLiteral("Reintento Lectura ") + QString::number(count));
    });
    QObject::connect(&line, &LineSession::readFailed, &p, [&p](const QString& text) {
        p.msg.info(text);
        p.main->MorTexEst->setText(QStringLiteral("Morla"));
    });
    QObject::connect(&line, &LineSession::messageSent, &p, [&p] { ShowMessageSent(p); });
}

}  // namespace morla
