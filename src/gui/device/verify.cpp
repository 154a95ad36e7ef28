#include "gui/device/verify.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTimer>

#include "core/config/filecause.h"
#include "core/models/modelcore.h"
#include "gui/link/modemlink.h"
#include "gui/link/sendpipeline.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"

namespace morla {

namespace {
const QString kVerifyKey = QStringLiteral("Escritura/VerificarAlEscribir");
// A device stores the data text before it answers a read again; real units need a moment.
constexpr int kSettleMs = 1000;
// With a time-out of 0 (never) a read-back that gets no answer still ends.
constexpr int kFallbackTimeoutMs = 65000;

// What the technician reads beside a control: its own caption (a check box), or what stands to
// its left in its grid, after the title of the frame around it. "" when there is none.
QString ControlCaption(const Program& p, const QString& name) {
    QWidget* w = p.main->findChild<QWidget*>(name);
    if (!w) return {};
    QString caption;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        caption = button->text();
    } else if (QWidget* parent = w->parentWidget()) {
        auto* grid = qobject_cast<QGridLayout*>(parent->layout());
        const int index = grid ? grid->indexOf(w) : -1;
        int row = 0, column = 0, rows = 0, columns = 0;
        if (index >= 0) grid->getItemPosition(index, &row, &column, &rows, &columns);
        QLayoutItem* left =
            index >= 0 && column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
        QWidget* beside = left ? left->widget() : nullptr;
        if (auto* label = qobject_cast<QLabel*>(beside)) caption = label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(beside); edit && edit->isReadOnly())
            caption = edit->text();
    }
    caption = caption.remove(QLatin1Char('&')).simplified();
    if (caption.isEmpty()) return {};
    if (auto* group = qobject_cast<QGroupBox*>(w->parentWidget())) {
        const QString title = group->title().remove(QLatin1Char('&')).simplified();
        if (!title.isEmpty()) caption = title + QStringLiteral(": ") + caption;
    }
    return caption;
}
}  // namespace

QString VerifyOutcome::detail() const {
    return problem.isEmpty() ? DifferencesText(differences) : problem;
}

QString VerifyOutcome::text() const {
    return verified ? QStringLiteral("Verificado") : QStringLiteral("No verificado: ") + detail();
}

QString OptionsFilePath(const Program& p) {
    return p.s.AppFolder + QStringLiteral("/Opciones.ini");
}

bool VerifyAfterWriteEnabled(const Program& p) {
    // Only a regular file is read: a named pipe would block.
    if (!KindCause(OptionsFilePath(p)).isEmpty()) return true;
    QSettings settings(OptionsFilePath(p), QSettings::IniFormat);
    return settings.value(kVerifyKey, true).toBool();
}

bool SetVerifyAfterWrite(const Program& p, bool on, QString* error) {
    if (KindCause(OptionsFilePath(p)).isEmpty()) {
        QSettings settings(OptionsFilePath(p), QSettings::IniFormat);
        settings.setValue(kVerifyKey, on);
        settings.sync();
        if (settings.status() == QSettings::NoError) return true;
    }
    if (error)
        *error =
            QStringLiteral("No se pudo guardar la opción en %1: %2.")
                .arg(QDir::toNativeSeparators(OptionsFilePath(p)), WriteCause(OptionsFilePath(p)));
    return false;
}

WriteVerifier::WriteVerifier(Program& p) : QObject(&p), p_(p) {
    setObjectName(QStringLiteral("writeVerifier"));
    settle = new QTimer(this);
    settle->setObjectName(QStringLiteral("verifySettle"));
    settle->setSingleShot(true);
    settle->setInterval(kSettleMs);
    timeout = new QTimer(this);
    timeout->setObjectName(QStringLiteral("verifyTimeout"));
    timeout->setSingleShot(true);
    connect(settle, &QTimer::timeout, this, &WriteVerifier::readBack);
    connect(timeout, &QTimer::timeout, this, [this] {
        VerifyOutcome o;
        o.problem = stage_ == Stage::Reading && !reply_.isEmpty()
                        ? QStringLiteral("la lectura de verificación quedó incompleta")
                        : QStringLiteral("el equipo no respondió");
        finish(o);
    });
    connect(&p, &Program::messageSent, this, &WriteVerifier::dataOut);
    connect(&p, &Program::messageStarted, this, &WriteVerifier::otherMessage);
    // The data text starts when the send timer runs out: from then on the write and the
    // read-back must end within the time-out.
    connect(p.main->TimerPID, &QTimer::timeout, this, [this] {
        if (stage_ != Stage::Writing) return;
        const int configured = p_.main->TimerEC->interval();
        timeout->start(configured > 0 ? configured : kFallbackTimeoutMs);
    });
    connect(&p.port, &Transport::portLost, this, [this] {
        if (!busy()) return;
        VerifyOutcome o;
        o.problem = QStringLiteral("se perdió la conexión con el puerto");
        finish(o);
    });
}

void WriteVerifier::watch() {
    const MorlaState& s = p_.s;
    model_ = ModelByCode(s.ModelCode);
    if (!model_) return;
    frame_ = s.SendFrame;
    data_ = s.SendData;
    firmwareCode_ = s.FirmwareCode;
    key_ = p_.main->MorTexResCla->text();
    withClassCode_ = !InstallationClassCode(InstallationClass(p_)).isEmpty();
    stage_ = Stage::Writing;
}

void WriteVerifier::dataOut() {
    if (stage_ != Stage::Writing || p_.s.PendingMessage != data_) return;
    stage_ = Stage::Settling;
    timeout->stop();
    settle->start();
}

// Anything else sent meanwhile (a read, a command) would mix with the read-back: the
// verification gives way.
void WriteVerifier::otherMessage() {
    if (!busy() || startingReadBack_) return;
    if (stage_ == Stage::Writing && p_.s.PendingMessage == data_) return;
    const bool quiet = reportByMessage;
    reportByMessage = false;
    VerifyOutcome o;
    o.problem = QStringLiteral("se interrumpió al enviarse otro mensaje al equipo");
    finish(o);
    reportByMessage = quiet;
}

void WriteVerifier::readBack() {
    if (stage_ != Stage::Settling) return;
    stage_ = Stage::Reading;
    retries_ = 0;
    p_.main->sendStatus->setText(QStringLiteral("Verificando..."));
    requestReply();
}

void WriteVerifier::requestReply() {
    reply_.clear();
    replyLength_ = model_->replyLength;
    p_.replyTap = [this](char byte) { take(byte); };
    const int configured = p_.main->TimerEC->interval();
    timeout->start(configured > 0 ? configured : kFallbackTimeoutMs);
    startingReadBack_ = true;
    StartMessage(p_, p_.s.ReadCommand);
    startingReadBack_ = false;
}

void WriteVerifier::take(char byte) {
    if (stage_ != Stage::Reading) return;
    // Whatever precedes the reply's opening "0" is not part of it.
    if (reply_.isEmpty() && byte != '0') return;
    reply_.append(byte);
    if (reply_.size() == 6) {
        // Another model's reply has its own length: take all of it, so none of it reaches the
        // receive event afterwards.
        const ModelInfo* other = ModelByCode(QString::fromLatin1(reply_.mid(4, 2)));
        if (other) replyLength_ = other->replyLength;
    }
    if (reply_.size() >= replyLength_) judge();
}

void WriteVerifier::judge() {
    VerifyOutcome o;
    const QString map = MapOfReply(reply_);
    if (!MapIsOfModel(map, *model_)) {
        o.problem = QStringLiteral("el equipo conectado no es un %1 (código %2)")
                        .arg(model_->dispatch(), QString::fromLatin1(reply_.mid(4, 2)));
        finish(o);
        return;
    }
    o.firmware = FirmwareOfMap(map, *model_);
    if (model_->checksum != ChecksumPolicy::None) {
        if (const int block = BadChecksumBlock(map, model_->blocks())) {
            // A reply damaged on the line is asked for again, as many times as a read is.
            if (retries_ < p_.s.MaxReadRetries) {
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
    const auto layout = FieldLayout(*model_, firmwareCode_);
    o.differences = CompareFields(layout, MapOfWriteFrame(frame_, withClassCode_), map);
    for (FieldDifference& d : o.differences) d.caption = ControlCaption(p_, d.name);
    o.verified = o.differences.empty();
    finish(o);
}

void WriteVerifier::finish(VerifyOutcome outcome) {
    if (model_) outcome.model = model_->dispatch();
    outcome.key = key_;
    stage_ = Stage::Idle;
    p_.replyTap = nullptr;
    settle->stop();
    timeout->stop();
    p_.main->sendStatus->setText(outcome.text());
    p_.main->sendStatus->setToolTip(outcome.text());  // a long list does not fit the line
    if (reportByMessage && !outcome.verified) p_.msg.info(outcome.text());
    emit finished(outcome);
}

WriteVerifier& VerifierOf(Program& p) {
    if (auto* v = p.findChild<WriteVerifier*>(QStringLiteral("writeVerifier"),
                                              Qt::FindDirectChildrenOnly))
        return *v;
    return *new WriteVerifier(p);
}

namespace {
// Starts the whole write; true when its data text is on its way (the send timer runs).
bool startWholeWrite(Program& p) {
    SendWholeConfiguration(p);
    return p.main->TimerPID->isActive() && p.s.SendWholeFrame == QStringLiteral("1");
}
}  // namespace

void WriteWholeConfiguration(Program& p) {
    // A verification still under way gives way to the new write as soon as its write command
    // goes out.
    WriteVerifier& v = VerifierOf(p);
    // In modem mode nothing can be read back.
    const bool verify = VerifyAfterWriteEnabled(p) && !IsModemMode(p);
    if (startWholeWrite(p) && verify) {
        v.reportByMessage = true;
        v.watch();
    }
}

bool WriteAndVerifyUnit(Program& p) {
    WriteVerifier& v = VerifierOf(p);
    if (v.busy() || !startWholeWrite(p)) return false;
    v.reportByMessage = false;
    v.watch();
    return v.busy();
}

QAction* InstallVerifyOption(Program& p) {
    auto* action = new QAction(QStringLiteral("Verificar al escribir"), p.main.get());
    action->setObjectName(QStringLiteral("MorMnuConVer"));
    action->setCheckable(true);
    action->setChecked(true);
    p.main->MorMnuCon->addAction(action);
    // The program folder is known only after the login: the item shows the stored setting
    // whenever the menu opens.
    auto sync = [&p, action] {
        if (p.s.AppFolder.isEmpty()) return;  // before the login: the default
        const QSignalBlocker quiet(action);
        action->setChecked(VerifyAfterWriteEnabled(p));
    };
    QObject::connect(p.main->MorMnuCon, &QMenu::aboutToShow, action, sync);
    QObject::connect(action, &QAction::toggled, action, [&p, action](bool on) {
        QString error;
        if (!SetVerifyAfterWrite(p, on, &error)) {
            p.msg.info(error);
            const QSignalBlocker quiet(action);
            action->setChecked(!on);
        }
    });
    sync();
    return action;
}

}  // namespace morla
