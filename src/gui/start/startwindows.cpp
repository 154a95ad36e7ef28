#include "gui/start/startwindows.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "core/config/installation.h"
#include "gui/main/named.h"

namespace morla {

namespace {
QHBoxLayout* buttonRow(QPushButton* a, QPushButton* b) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(a);
    if (b) row->addWidget(b);
    return row;
}
}  // namespace

FrmSelector::FrmSelector(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmSelector"));
    setWindowTitle(QStringLiteral("PPP"));
    auto* outer = new QVBoxLayout(this);
    lblInformacion =
        named(new QLabel(QStringLiteral("Por favor complete la siguiente información:"), this),
              QStringLiteral("lblInformacion"));
    outer->addWidget(lblInformacion);

    fraSelClave =
        named(new QGroupBox(QStringLiteral("Seguridad"), this), QStringLiteral("fraSelClave"));
    auto* clave = new QGridLayout(fraSelClave);
    LblSelUsuario =
        named(new QLabel(QStringLiteral("Usuario"), fraSelClave), QStringLiteral("LblSelUsuario"));
    TxtSelUsuario = named(new QLineEdit(fraSelClave), QStringLiteral("TxtSelUsuario"));
    LblSelContrasena = named(new QLabel(QStringLiteral("Contraseña"), fraSelClave),
                             QStringLiteral("LblSelContraseña"));
    TxtSelContrasena = named(new QLineEdit(fraSelClave), QStringLiteral("TxtSelContraseña"));
    clave->addWidget(LblSelUsuario, 0, 0);
    clave->addWidget(TxtSelUsuario, 0, 1);
    clave->addWidget(LblSelContrasena, 1, 0);
    clave->addWidget(TxtSelContrasena, 1, 1);
    outer->addWidget(fraSelClave);

    fraSelEquipo = named(new QGroupBox(QStringLiteral("Equipo Dravenquista"), this),
                         QStringLiteral("fraSelEquipo"));
    auto* equipos = new QGridLayout(fraSelEquipo);
    auto* group = new QButtonGroup(this);
    const QStringList captions = SelectorEquipment();
    for (int i = 0; i < 10; ++i) {
        auto* b = named(new QRadioButton(captions[i], fraSelEquipo),
                        QStringLiteral("chkEquipoDravenquista%1").arg(i, 2, 10, QChar('0')));
        chkEquipoDravenquista[i] = b;
        group->addButton(b, i);
        equipos->addWidget(b, i % 5, i / 5);
        // Setting the value from code counts as a click, as on the original platform.
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) SelectedEquipment = i;
        });
    }
    outer->addWidget(fraSelEquipo);

    frmSelSistema = named(new QGroupBox(QStringLiteral("Sistema Operativo"), this),
                          QStringLiteral("frmSelSistema"));
    auto* sistema = new QVBoxLayout(frmSelSistema);
    Label1 = named(new QLabel(QStringLiteral("Que sistema operativo tiene?"), frmSelSistema),
                   QStringLiteral("Label1"));
    cmbSelSistemaOperativo =
        named(new QComboBox(frmSelSistema), QStringLiteral("cmbSelSistemaOperativo"));
    cmbSelSistemaOperativo->setPlaceholderText(QStringLiteral("Sistema Operativo"));
    cmbSelSistemaOperativo->addItems(SelectorOperatingSystems());
    cmbSelSistemaOperativo->setCurrentIndex(-1);
    sistema->addWidget(Label1);
    sistema->addWidget(cmbSelSistemaOperativo);
    outer->addWidget(frmSelSistema);

    cmdSelAceptar =
        named(new QPushButton(QStringLiteral("Continuar"), this), QStringLiteral("cmdSelAceptar"));
    outer->addLayout(buttonRow(cmdSelAceptar, nullptr));
}

QString FrmSelector::systemText() const {
    if (cmbSelSistemaOperativo->currentIndex() < 0)
        return cmbSelSistemaOperativo->placeholderText();
    return cmbSelSistemaOperativo->currentText();
}

void FrmSelector::closeFromCode() {
    closingFromCode_ = true;
    close();
    closingFromCode_ = false;
}

void FrmSelector::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!closingFromCode_ && onUserClose) onUserClose();
}

MorFrmLogin::MorFrmLogin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MorFrmLogin"));
    setWindowTitle(QStringLiteral("Acceso a MORLA"));
    auto* grid = new QGridLayout(this);
    lblUserName =
        named(new QLabel(QStringLiteral("&Usuario:"), this), QStringLiteral("lblUserName"));
    txtUserName = named(new QLineEdit(this), QStringLiteral("txtUserName"));
    lblUserName->setBuddy(txtUserName);
    lblPassword =
        named(new QLabel(QStringLiteral("&Contraseña:"), this), QStringLiteral("lblPassword"));
    txtPassword = named(new QLineEdit(this), QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(txtPassword);
    cmdOK = named(new QPushButton(QStringLiteral("Aceptar"), this), QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel =
        named(new QPushButton(QStringLiteral("Cancelar"), this), QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    grid->addWidget(lblUserName, 0, 0);
    grid->addWidget(txtUserName, 0, 1);
    grid->addWidget(lblPassword, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->addLayout(buttonRow(cmdOK, cmdCancel), 2, 0, 1, 2);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void MorFrmLogin::reject() {
    if (onCancel) onCancel();
}

MorFrmSelPort::MorFrmSelPort(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MorFrmSelPort"));
    setWindowTitle(QStringLiteral("Puerto Serie"));
    auto* outer = new QHBoxLayout(this);
    auto* choice = new QVBoxLayout;
    MorLabPuerInf = named(new QLabel(QStringLiteral("Que puerto usara ?"), this),
                          QStringLiteral("MorLabPuerInf"));
    MorCmbNumPort = named(new QComboBox(this), QStringLiteral("MorCmbNumPort"));
    MorCmbNumPort->setPlaceholderText(QStringLiteral("# Puerto"));
    MorCmbNumPort->installEventFilter(this);
    choice->addWidget(MorLabPuerInf);
    choice->addWidget(MorCmbNumPort);
    choice->addStretch();
    outer->addLayout(choice);
    auto* devices = new QVBoxLayout;
    MorLabPuerDis = named(new QLabel(this), QStringLiteral("MorLabPuerDis"));
    MorLabPuerDis->setTextFormat(Qt::PlainText);
    MorLabPuerDis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    devices->addWidget(MorLabPuerDis, 1);
    MorCmdPuerAct =
        named(new QPushButton(QStringLiteral("Actualizar"), this), QStringLiteral("MorCmdPuerAct"));
    MorCmdPuerAct->setAutoDefault(false);
    devices->addLayout(buttonRow(MorCmdPuerAct, nullptr));
    outer->addLayout(devices, 1);
    MorTimPuerDis = named(new QTimer(this), QStringLiteral("MorTimPuerDis"));
    MorTimPuerDis->setInterval(1000);

    connect(MorCmbNumPort, &QComboBox::activated, this, [this] {
        if (onChoice) onChoice();
    });
    connect(MorCmbNumPort, &QComboBox::highlighted, this, [this](int index) {
        highlighted = index;
        if (onRefresh) onRefresh();
    });
    connect(MorTimPuerDis, &QTimer::timeout, this, [this] {
        if (onRefresh) onRefresh();
    });
    connect(MorCmdPuerAct, &QPushButton::clicked, this, [this] {
        if (onRefresh) onRefresh();
    });
}

void MorFrmSelPort::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && onEscape) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool MorFrmSelPort::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MorCmbNumPort && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (onChoice) onChoice();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MorFrmSelPort::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClose) onClose();
}

void MorFrmSelPort::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    MorTimPuerDis->start();
    if (onRefresh) onRefresh();
}

void MorFrmSelPort::hideEvent(QHideEvent* event) {
    MorTimPuerDis->stop();
    QWidget::hideEvent(event);
}

}  // namespace morla
