#include "gui/device/serieswindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/device/verify.h"
#include "gui/link/modemlink.h"
#include "gui/main/program.h"

namespace morla {

namespace {
// Lines kept on screen; the file keeps them all.
constexpr int kShownLines = 500;

// Why the panel's configuration cannot be written as a series ("" when it can).
QString cannotProgram(const Program& p) {
    const ModelInfo* m = ModelByCode(p.s.ModelCode);
    if (!m || p.s.EquipmentName == QStringLiteral("Morla"))
        return QStringLiteral(
            "Elija primero el modelo y la configuración que se escribirá en cada unidad.");
    if (!m->hasBuildFrame)
        return QStringLiteral("El %1 se escribe campo por campo: no se puede programar en serie.")
            .arg(m->dispatch());
    if (IsModemMode(p))
        return QStringLiteral("En modo módem no se puede leer cada unidad para verificarla.");
    return {};
}
}  // namespace

QString SeriesLogPath(const Program& p) {
    return SeriesLogIn(p.s.AppFolder);
}

MorFrmSerie::MorFrmSerie(Program& p, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName(QStringLiteral("MorFrmSerie"));
    setWindowTitle(QStringLiteral("Programar serie"));
    auto* layout = new QVBoxLayout(this);
    MorLblSerMod = new QLabel(this);
    MorLblSerMod->setObjectName(QStringLiteral("MorLblSerMod"));
    MorLblSerCon = new QLabel(this);
    MorLblSerCon->setObjectName(QStringLiteral("MorLblSerCon"));
    MorLblSerEst =
        new QLabel(QStringLiteral("Conecte la primera unidad y pulse Siguiente unidad."), this);
    MorLblSerEst->setObjectName(QStringLiteral("MorLblSerEst"));
    MorLblSerEst->setWordWrap(true);
    MorTxtSerLog = new QPlainTextEdit(this);
    MorTxtSerLog->setObjectName(QStringLiteral("MorTxtSerLog"));
    MorTxtSerLog->setReadOnly(true);
    MorTxtSerLog->setMaximumBlockCount(kShownLines);
    MorTxtSerLog->setMinimumSize(520, 200);
    MorCmdSerSig = new QPushButton(QStringLiteral("Siguiente unidad"), this);
    MorCmdSerSig->setObjectName(QStringLiteral("MorCmdSerSig"));
    MorCmdSerSig->setDefault(true);  // Enter; space while it has the focus
    MorCmdSerDet = new QPushButton(QStringLiteral("Detener"), this);
    MorCmdSerDet->setObjectName(QStringLiteral("MorCmdSerDet"));
    MorCmdSerDet->setAutoDefault(false);
    layout->addWidget(MorLblSerMod);
    layout->addWidget(MorLblSerCon);
    layout->addWidget(MorLblSerEst);
    layout->addWidget(MorTxtSerLog, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MorCmdSerSig);
    buttons->addStretch(1);
    buttons->addWidget(MorCmdSerDet);
    layout->addLayout(buttons);

    connect(MorCmdSerSig, &QPushButton::clicked, this, &MorFrmSerie::nextUnit);
    connect(MorCmdSerDet, &QPushButton::clicked, this, &MorFrmSerie::stopSeries);
    connect(&VerifierOf(p), &WriteVerifier::finished, this, [this](const VerifyOutcome& o) {
        if (underWay_) unitFinished(o);
    });
    showModel();
    showCounts();
    MorCmdSerSig->setFocus();
}

// The panel may change between units: each unit gets what it shows then.
void MorFrmSerie::showModel() {
    const ModelInfo* m = ModelByCode(p_.s.ModelCode);
    MorLblSerMod->setText(QStringLiteral("Modelo: %1, firmware %2. Registro: %3")
                              .arg(m ? m->dispatch() : QString(), p_.s.FirmwareCode,
                                   QDir::toNativeSeparators(SeriesLogPath(p_))));
}

void MorFrmSerie::showCounts() {
    MorLblSerCon->setText(QStringLiteral("Unidades: %1 (correctas: %2, con fallo: %3)")
                              .arg(done_ + failed_)
                              .arg(done_)
                              .arg(failed_));
}

void MorFrmSerie::nextUnit() {
    if (underWay_ || stopAfterUnit_ || logFailed_) return;
    if (const QString why = cannotProgram(p_); !why.isEmpty()) {
        p_.msg.info(why);
        return;
    }
    underWay_ = true;
    showModel();
    MorCmdSerSig->setEnabled(false);
    MorLblSerEst->setText(QStringLiteral("Unidad %1: escribiendo...").arg(done_ + failed_ + 1));
    const bool wasOpen = p_.port.isOpen() || IsModemMode(p_);
    if (WriteAndVerifyUnit(p_)) return;  // the verifier says how it ended
    // Nothing went out: the key was refused, or the port could not be opened.
    VerifyOutcome o;
    const ModelInfo* m = ModelByCode(p_.s.ModelCode);
    o.model = m ? m->dispatch() : QString();
    const bool portUp = wasOpen || p_.port.isOpen();
    o.key = p_.main->MorTexResCla->text();
    o.problem = portUp ? QStringLiteral("no se escribió: Error en Captura")
                       : QStringLiteral("no se escribió: el puerto no está abierto");
    unitFinished(o);
}

void MorFrmSerie::unitFinished(const VerifyOutcome& o) {
    underWay_ = false;
    (o.verified ? done_ : failed_) += 1;
    const int unit = done_ + failed_;
    const QStringList fields{
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
        o.model,
        o.firmware,
        o.key,
        o.verified ? QStringLiteral("Correcto") : QStringLiteral("Fallo"),
        o.verified ? QString() : o.detail(),
        QString::number(unit),
        QStringLiteral("COM%1").arg(p_.s.ComPortNumber)};
    MorTxtSerLog->appendPlainText(CsvLine(fields));
    MorLblSerEst->setText(QStringLiteral("Unidad %1: %2").arg(unit).arg(o.text()));
    showCounts();
    // A unit missing from the log would be lost from the record of the series: no further
    // unit until the log can be written again.
    QString error;
    if (!AppendSeriesLog(SeriesLogPath(p_), fields, &error)) {
        logFailed_ = true;
        MorLblSerEst->setText(
            QStringLiteral("Serie detenida: la unidad %1 no quedó en el registro.").arg(unit));
        p_.msg.info(QStringLiteral("%1. La serie se detuvo: la unidad %2 no quedó en el registro.")
                        .arg(error)
                        .arg(unit));
        return;
    }
    MorCmdSerSig->setEnabled(true);
    MorCmdSerSig->setFocus();
    if (stopAfterUnit_) close();
}

void MorFrmSerie::stopSeries() {
    if (underWay_) {
        stopAfterUnit_ = true;
        MorLblSerEst->setText(MorLblSerEst->text() +
                              QStringLiteral(" La serie se detiene al terminar esta unidad."));
        return;
    }
    stopAfterUnit_ = true;
    close();
}

void MorFrmSerie::closeEvent(QCloseEvent* event) {
    // A unit half written is finished first; the window closes as soon as it is.
    if (underWay_) {
        stopSeries();
        event->ignore();
        return;
    }
    event->accept();
}

void MorFrmSerie::reject() {
    stopSeries();
}

void InstallSeries(Program& p) {
    auto* action = new QAction(QStringLiteral("Programar s&erie..."), p.main.get());
    action->setObjectName(QStringLiteral("MorMnuPriSer"));
    // With the menu's other file items, before the separator that sets "&Salir" apart.
    const QList<QAction*> items = p.main->MorMnuPrin->actions();
    const qsizetype sal = items.indexOf(p.main->MorMnuPriSal);
    QAction* before =
        sal > 0 && items[sal - 1]->isSeparator() ? items[sal - 1] : p.main->MorMnuPriSal;
    p.main->MorMnuPrin->insertAction(before, action);
    auto open = std::make_shared<QPointer<MorFrmSerie>>();
    QObject::connect(action, &QAction::triggered, action, [&p, open] {
        if (*open) {
            (*open)->raise();
            (*open)->activateWindow();
            return;
        }
        if (const QString why = cannotProgram(p); !why.isEmpty()) {
            p.msg.info(why);
            return;
        }
        auto* w = new MorFrmSerie(p, p.main.get());
        w->setWindowFlag(Qt::Window);
        w->setAttribute(Qt::WA_DeleteOnClose);
        *open = w;
        w->show();
    });
}

}  // namespace morla
