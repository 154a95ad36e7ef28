#include "cli/unitjob.h"

#include "cli/output.h"
#include "core/models/imagecheck.h"
#include "core/models/modelcore.h"
#include "core/models/registry.h"
#include "session/linesession.h"
#include "session/serial/serialtransport.h"
#include "session/writeverification.h"

namespace morla::cli {

namespace {
double seconds(const QElapsedTimer& t) {
    return t.isValid() ? double(t.nsecsElapsed()) / 1e9 : 0;
}
}  // namespace

UnitJob::UnitJob(const Folder& folder, const PortSpec& port, QObject* parent)
    : QObject(parent), folder_(folder), port_(port) {
    s_.AppFolder = folder.path;
    s_.ReadCommand = folder.readCommand;
    s_.WriteCommand = folder.writeCommand;
    s_.MaxReadRetries = folder.settings.maxReadRetries;
    s_.InstallationCode = folder.settings.installationCode;
    transport_ = std::make_unique<SerialTransport>();
    line_ = std::make_unique<LineSession>(s_, *transport_);
    line_->TimerEC->setInterval(folder.timeoutMs());
    verification_ = new WriteVerification(*line_, this);
    countdown_.setInterval(250);
    watchdog_.setSingleShot(true);

    connect(line_.get(), &LineSession::readProgress, this, [this](int received, int length) {
        emit progress(length > 0 ? QStringLiteral("Leyendo %1/%2").arg(received).arg(length)
                                 : QStringLiteral("Leyendo %1").arg(received));
    });
    connect(line_.get(), &LineSession::retrying, this, [this](int count) {
        emit progress(QStringLiteral("Reintento Lectura %1").arg(count));
    });
    connect(line_.get(), &LineSession::readFailed, this,
            [this](const QString& text) { finish(kLineFailed, text); });
    connect(line_.get(), &LineSession::replyReady, this, &UnitJob::replyReady);
    connect(line_.get(), &LineSession::messageSent, this, [this] {
        if (writing_ && plan_ && plan_->write && s_.PendingMessage == plan_->write->data)
            dataSent();
    });
    connect(line_->TimerPID, &QTimer::timeout, this, [this] {
        line_->TimerPID->stop();
        line_->SendTimed();
        if (!verify_) watchdog_.start(folder_.timeoutMs());
    });
    connect(verification_, &WriteVerification::readingBack, this,
            [this] { emit progress(QStringLiteral("Verificando...")); });
    connect(verification_, &WriteVerification::finished, this, &UnitJob::verified);
    connect(&countdown_, &QTimer::timeout, this, &UnitJob::tickCountdown);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        finish(kLineFailed, QStringLiteral("el equipo no respondió durante la escritura"));
    });
    connect(transport_.get(), &Transport::portLost, this, [this](const QString& cause) {
        finish(kLineFailed, QStringLiteral("Se perdió la conexión con %1: %2")
                                .arg(port_.described(folder_.path), cause));
    });
    connect(transport_.get(), &Transport::lineError, this,
            [this](Transport::LineError e) { emit warning(LineErrorText(e)); });
}

UnitJob::~UnitJob() = default;

void UnitJob::start(Task task, const Plan* plan, bool verify) {
    task_ = task;
    plan_ = plan;
    verify_ = verify;
    clock_.start();
    result_.port = port_.given;
    result_.device = port_.deviceIn(folder_.path);
    QString cause;
    const bool opened = port_.number > 0 ? transport_->open(port_.number, folder_.path, &cause)
                                         : transport_->openDevice(port_.device, &cause);
    if (!opened) {
        finish(kLineFailed,
               QStringLiteral("No se pudo abrir %1: %2").arg(port_.described(folder_.path), cause));
        return;
    }
    phase_.start();
    line_->StartRead(plan ? plan->image.modelCode : QString());
}

void UnitJob::replyReady(const QString& code) {
    const ModelInfo* m = ModelByCode(code);
    if (done_ || !m) return;
    result_.readSeconds = seconds(phase_);
    result_.model = m->dispatch();
    result_.modelCode = m->code();
    result_.digits = DigitsOfReply(s_.LastReadText);
    result_.firmware = FirmwareOfRead(*m, result_.digits);
    if (task_ == Task::Read) {
        finish(kDone, QStringLiteral("Leído"));
        return;
    }
    const DeviceImage& file = plan_->image;
    if (code != file.modelCode || result_.firmware != file.firmware) {
        const QString what =
            QStringLiteral(
                "el equipo conectado es un %1 de firmware %2 y el archivo es de un %3 "
                "de firmware %4")
                .arg(result_.model, result_.firmware, file.equipment, file.firmware);
        // Nothing is written to a unit the file was not made for.
        if (task_ == Task::Write)
            finish(kBadInput, QStringLiteral("No se escribió: ") + what);
        else
            finish(kDiffers, QStringLiteral("No verificado: ") + what);
        return;
    }
    if (task_ == Task::Write)
        startWrite();
    else
        compare();
}

void UnitJob::startWrite() {
    const WriteText& w = *plan_->write;
    const ModelInfo* m = ModelByCode(plan_->image.modelCode);
    s_.ModelCode = m->code();
    s_.FirmwareCode = w.firmware;
    s_.SendFrame = w.frame;
    s_.SendData = w.data;
    s_.KeyStatus = w.keyStatus;
    s_.SendWholeFrame = QStringLiteral("1");
    result_.key = w.key;
    writing_ = true;
    phase_.restart();
    // As "&Enviar": the write command without its "f", then five seconds, then the data text.
    line_->StartMessage(s_.WriteCommand.left(s_.WriteCommand.size() - 1));
    line_->TimerPID->start();
    countdown_.start();
    tickCountdown();
    if (verify_)
        verification_->watch({m, w.frame, w.data, w.firmware, w.key, !folder_.classCode.isEmpty()});
}

void UnitJob::tickCountdown() {
    const int ms = line_->TimerPID->remainingTime();
    if (!line_->TimerPID->isActive() || ms < 0) {
        countdown_.stop();
        emit progress(QStringLiteral("Escribiendo"));
        return;
    }
    const int total = line_->TimerPID->interval() / 1000;
    emit progress(QStringLiteral("Envío en %1 s").arg(qMin((ms + 999) / 1000, total)));
}

void UnitJob::dataSent() {
    result_.written = true;
    result_.writeSeconds = seconds(phase_);
    watchdog_.stop();
    phase_.restart();
    if (!verify_) finish(kDone, QStringLiteral("Escrito, sin verificar"));
}

void UnitJob::verified(const VerifyOutcome& outcome) {
    result_.verifySeconds = seconds(phase_);
    if (outcome.verified)
        finish(kDone, outcome.text());
    else if (!outcome.problem.isEmpty())
        finish(kLineFailed, outcome.text());
    else
        differ(outcome.differences);
}

void UnitJob::differ(std::vector<FieldDifference> differences) {
    for (FieldDifference& d : differences) d.caption = CaptionOf(d);
    result_.differences = std::move(differences);
    finish(kDiffers, QStringLiteral("No verificado: ") + DifferencesText(result_.differences));
}

void UnitJob::compare() {
    const ModelInfo& m = *ModelByCode(plan_->image.modelCode);
    // What a write of the file leaves in the unit; the file's own map for a model written
    // field by field.
    const QString expected =
        plan_->write ? MapOfSentFrame(m, plan_->write->frame, !folder_.classCode.isEmpty())
                     : plan_->map;
    std::vector<FieldDifference> differences =
        CompareFields(m, result_.firmware, expected, s_.LastReadMap);
    if (differences.empty())
        finish(kDone, QStringLiteral("Verificado"));
    else
        differ(std::move(differences));
}

void UnitJob::interrupt() {
    // A write under way ends, verification included: a unit is never left half written.
    if (done_ || writing_) return;
    finish(kInterrupted, task_ == Task::Write ? QStringLiteral("Interrumpido: no se escribió nada")
                                              : QStringLiteral("Interrumpido"));
}

void UnitJob::finish(int exit, const QString& message) {
    if (done_) return;
    done_ = true;
    writing_ = false;
    countdown_.stop();
    watchdog_.stop();
    line_->TimerPID->stop();
    line_->TimerEC->stop();
    line_->EndRead();
    if (verification_->busy()) verification_->stop(QString(), true);
    transport_->close();
    result_.exit = exit;
    result_.message = message;
    result_.totalSeconds = seconds(clock_);
    // After the caller's own handling of whatever led here.
    QMetaObject::invokeMethod(this, &UnitJob::finished, Qt::QueuedConnection);
}

}  // namespace morla::cli
