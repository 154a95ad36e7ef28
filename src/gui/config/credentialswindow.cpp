#include "gui/config/credentialswindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>

#include "core/codec/text.h"

namespace morla {

RecordWriteResult WriteOperatorCredentials(const QString& programFolder, const QString& name,
                                           const QString& password) {
    const QString path = Paths{programFolder}.operatorCredentials();
    RecordWriteResult r =
        WriteRecord(path, OperatorCredentialsRecord, {name, password}, 1, programFolder);
    if (r.ok) return r;
    // The reason names the file only: what was typed is never shown or kept anywhere else.
    const QString file = QDir::toNativeSeparators(path);
    if (!NonAnsiCharacters(name + password).isEmpty())
        r.error = QStringLiteral(
                      "El usuario o la contraseña lleva caracteres que el archivo no "
                      "admite: %1")
                      .arg(file);
    else if (RecordSize({name, password}) > OperatorCredentialsRecord.length)
        r.error = QStringLiteral("El usuario y la contraseña no caben en %1").arg(file);
    return r;
}

FrmCapLogin::FrmCapLogin(MorlaState& s, const QString& programFolder, QWidget* parent)
    : QDialog(parent), s_(s), folder_(programFolder) {
    setObjectName(QStringLiteral("frmCapLogin"));
    setWindowTitle(QStringLiteral("MORLA"));
    auto* grid = new QGridLayout(this);
    lblUsuario = new QLabel(QStringLiteral("&Nombre de usuario:"), this);
    txtUsuario = new QLineEdit(this);
    txtUsuario->setObjectName(QStringLiteral("txtUsuario"));
    lblUsuario->setBuddy(txtUsuario);
    lblPassword = new QLabel(QStringLiteral("&Contraseña:"), this);
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(txtPassword);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    grid->addWidget(lblUsuario, 0, 0);
    grid->addWidget(txtUsuario, 0, 1);
    grid->addWidget(lblPassword, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, &FrmCapLogin::Accept);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmCapLogin::Cancel);
}

void FrmCapLogin::Accept() {
    if (txtUsuario->text().isEmpty() || txtPassword->text().isEmpty()) return;
    const RecordWriteResult written =
        WriteOperatorCredentials(folder_, txtUsuario->text(), txtPassword->text());
    if (!written.ok) {
        // Nothing was stored: the window stays for another name or password.
        if (report) report(written.error);
        return;
    }
    if (!s_.CredentialsFromMenu && showLogin) showLogin();
    close();
}

void FrmCapLogin::Cancel() {}

// Escape does what "Cancelar" does: nothing.
void FrmCapLogin::reject() {}

// The close box closes it.
void FrmCapLogin::closeEvent(QCloseEvent* event) {
    event->accept();
}

}  // namespace morla
