#include "session/writeverification.h"

#include <QTimer>

#include "core/codec/text.h"
#include "core/models/modelcore.h"

namespace morla {

QString VerifyOutcome::detail() const {
    return problem.isEmpty() ? DifferencesText(differences) : problem;
}

QString VerifyOutcome::text() const {
    return verified ? QStringLiteral("Verificado") : QStringLiteral("No verificado: ") + detail();
}

WriteVerification::WriteVerification(LineSession& line, QObject* parent)
    : QObject(parent), line_(line) {
    settle = new QTimer(this);
    settle->setObjectName(QStringLiteral("verifySettle"));
    settle->setSingleShot(true);
    settle->setInterval(kSettleMs);
    timeout = new QTimer(this);
    timeout->setObjectName(QStringLiteral("verifyTimeout"));
    timeout->setSingleShot(true);
    connect(settle, &QTimer::timeout, this, &WriteVerification::readBack);
    connect(timeout, &QTimer::timeout, this, [this] {
        stop(stage_ == Stage::Reading && !reply_.isEmpty()
                 ? QStringLiteral("la lectura de verificación quedó incompleta")
                 : QStringLiteral("el equipo no respondió"),
             false);
    });
    connect(&line, &LineSession::messageSent, this, &WriteVerification::dataOut);
    connect(&line, &LineSession::messageStarted, this, &WriteVerification::otherMessage);
    // The data text starts when the send timer runs out: from then on the write and the
    // read-back must end within the time-out.
    connect(line.TimerPID, &QTimer::timeout, this, [this] {
        if (stage_ == Stage::Writing) timeout->start(timeoutMs());
    });
    connect(&line.port, &Transport::portLost, this, [this] {
        if (busy()) stop(QStringLiteral("se perdió la conexión con el puerto"), false);
    });
}

int WriteVerification::timeoutMs() const {
    const int configured = line_.TimerEC->interval();
    return configured > 0 ? configured : kFallbackTimeoutMs;
}

void WriteVerification::watch(const WrittenUnit& unit) {
    if (!unit.model) return;
    unit_ = unit;
    stage_ = Stage::Writing;
}

void WriteVerification::stop(const QString& problem, bool quiet) {
    if (!busy()) return;
    VerifyOutcome o;
    o.problem = problem;
    o.quiet = quiet;
    finish(o);
}

void WriteVerification::dataOut() {
    if (stage_ != Stage::Writing || line_.s.PendingMessage != unit_.data) return;
    stage_ = Stage::Settling;
    timeout->stop();
    settle->start();
}

// Anything else sent meanwhile (a command from the monitor) would mix with the read-back: the
// verification gives way.
void WriteVerification::otherMessage() {
    if (!busy() || startingReadBack_) return;
    if (stage_ == Stage::Writing && line_.s.PendingMessage == unit_.data) return;
    stop(QStringLiteral("se interrumpió al enviarse otro mensaje al equipo"), true);
}

void WriteVerification::readBack() {
    if (stage_ != Stage::Settling) return;
    stage_ = Stage::Reading;
    retries_ = 0;
    emit readingBack();
    requestReply();
}

void WriteVerification::requestReply() {
    reply_.clear();
    replyLength_ = unit_.model->replyLength;
    line_.aside = [this](char byte) { take(byte); };
    timeout->start(timeoutMs());
    startingReadBack_ = true;
    line_.StartMessage(line_.s.ReadCommand);
    startingReadBack_ = false;
}

void WriteVerification::take(char byte) {
    if (stage_ != Stage::Reading) return;
    // Whatever precedes the reply's opening "0" is not part of it.
    if (reply_.isEmpty() && byte != '0') return;
    reply_.append(byte);
    if (reply_.size() == 6) {
        // Another model's reply has its own length: take all of it, so none of it reaches the
        // receive event afterwards.
        const ModelInfo* other = ModelByCode(FromAnsi(reply_.mid(4, 2)));
        if (other) replyLength_ = other->replyLength;
    }
    if (reply_.size() >= replyLength_) judge();
}

void WriteVerification::judge() {
    const ModelInfo& model = *unit_.model;
    VerifyOutcome o;
    const QString map = MapOfReply(reply_);
    if (!MapIsOfModel(map, model)) {
        o.problem = QStringLiteral("el equipo conectado no es un %1 (código %2)")
                        .arg(model.dispatch(), FromAnsi(reply_.mid(4, 2)));
        finish(o);
        return;
    }
    o.firmware = FirmwareOfMap(map, model);
    if (model.checksum != ChecksumPolicy::None) {
        if (const int block = BadChecksumBlock(map, model.blocks())) {
            // A reply damaged on the line is asked for again, as many times as a read is.
            if (retries_ < line_.s.MaxReadRetries) {
                ++retries_;
                requestReply();
                return;
            }
            o.problem =
                QStringLiteral("la lectura de verificación llegó dañada (bloque %1)").arg(block);
            finish(o);
            return;
        }
    }
    o.differences = CompareFields(model, unit_.firmwareCode,
                                  MapOfSentFrame(model, unit_.frame, unit_.withClassCode), map);
    o.verified = o.differences.empty();
    finish(o);
}

void WriteVerification::finish(VerifyOutcome outcome) {
    if (unit_.model) outcome.model = unit_.model->dispatch();
    outcome.key = unit_.key;
    stage_ = Stage::Idle;
    line_.aside = nullptr;
    settle->stop();
    timeout->stop();
    emit finished(outcome);
}

}  // namespace morla
