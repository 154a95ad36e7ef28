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
    verification_ = new WriteVerification(*p.line, this);
    settle = verification_->settle;
    timeout = verification_->timeout;
    connect(verification_, &WriteVerification::readingBack, this,
            [this] { p_.main->sendStatus->setText(QStringLiteral("Verificando...")); });
    connect(verification_, &WriteVerification::finished, this, &WriteVerifier::report);
    // A write stopped before its data left: nothing to compare, and nothing to report.
    connect(&p, &Program::sendCancelled, this,
            [this] { verification_->stop(QStringLiteral("el envío se canceló"), true); });
}

void WriteVerifier::watch() {
    const MorlaState& s = p_.s;
    WrittenUnit unit;
    unit.model = ModelByCode(s.ModelCode);
    unit.frame = s.SendFrame;
    unit.data = s.SendData;
    unit.firmwareCode = s.FirmwareCode;
    unit.key = p_.main->MorTexResCla->text();
    unit.withClassCode = !InstallationClassCode(InstallationClass(p_)).isEmpty();
    verification_->watch(unit);
}

void WriteVerifier::report(VerifyOutcome outcome) {
    for (FieldDifference& d : outcome.differences) d.caption = ControlCaption(p_, d.name);
    if (p_.main->MorTexEst->text() == QStringLiteral("Escribiendo"))
        p_.main->MorTexEst->setText(QStringLiteral("Morla"));
    p_.main->sendStatus->setText(outcome.text());
    p_.main->sendStatus->setToolTip(outcome.text());  // a long list does not fit the line
    if (reportByMessage && !outcome.verified && !outcome.quiet) p_.msg.info(outcome.text());
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
    if (RefuseWhileBusy(p)) return;
    // In modem mode nothing can be read back.
    const bool verify = VerifyAfterWriteEnabled(p) && !IsModemMode(p);
    if (startWholeWrite(p) && verify) {
        v.reportByMessage = true;
        v.watch();
    }
}

bool WriteAndVerifyUnit(Program& p) {
    WriteVerifier& v = VerifierOf(p);
    if (v.busy() || RefuseWhileBusy(p) || !startWholeWrite(p)) return false;
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
