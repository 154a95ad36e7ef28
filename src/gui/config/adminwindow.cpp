#include "gui/config/adminwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "gui/main/named.h"
#include "gui/main/program.h"

namespace morla {

MorFrmCPri::MorFrmCPri(Program& p, QWidget* parent) : QWidget(parent, Qt::Window), p_(p) {
    setObjectName(QStringLiteral("MorFrmCPri"));
    setWindowTitle(QStringLiteral("Morla-Configuración Principal"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(this);

    MorTexE21 = named(new QLineEdit(this), "MorTexE21");
    MorTexE22 = named(new QLineEdit(this), "MorTexE22");
    grid->addWidget(new QLabel(QStringLiteral("Reintentos"), this), 0, 0);
    grid->addWidget(MorTexE21, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("TimeOut"), this), 1, 0);
    grid->addWidget(MorTexE22, 1, 1);
    MorCmdCPConRec = named(new QPushButton(QStringLiteral("&Recuperar"), this), "MorCmdCPConRec");
    MorCmdCPConGra = named(new QPushButton(QStringLiteral("&Grabar"), this), "MorCmdCPConGra");
    MorCmdCPConAceptar =
        named(new QPushButton(QStringLiteral("&Aceptar"), this), "MorCmdCPConAceptar");
    grid->addWidget(MorCmdCPConRec, 0, 2);
    grid->addWidget(MorCmdCPConGra, 1, 2);
    grid->addWidget(MorCmdCPConAceptar, 2, 2);

    MorComCPUsuarios = named(new QComboBox(this), "MorComCPUsuarios");
    MorComCPUsuarios->setEditable(true);
    MorComCPUsuarios->setInsertPolicy(QComboBox::NoInsert);
    MorTexE23 = named(new QLineEdit(this), "MorTexE23");
    MorTexE25 = named(new QLineEdit(this), "MorTexE25");
    MorTexE24 = named(new QLineEdit(this), "MorTexE24");
    grid->addWidget(new QLabel(QStringLiteral("Usuarios"), this), 3, 0);
    grid->addWidget(MorComCPUsuarios, 3, 1);
    auto* userBoxes = new QHBoxLayout;
    userBoxes->addWidget(MorTexE23, 1);
    userBoxes->addWidget(MorTexE25, 3);
    userBoxes->addWidget(MorTexE24, 2);
    grid->addLayout(userBoxes, 4, 0, 1, 3);
    MorCmdUsCesA = named(new QPushButton(QStringLiteral("&Aplicar"), this), "MorCmdUsCesA");
    MorCmdUsCesG = named(new QPushButton(QStringLiteral("Gra&bar"), this), "MorCmdUsCesG");
    MorCmdCPConAlta = named(new QPushButton(QStringLiteral("A&lta"), this), "MorCmdCPConAlta");
    auto* userButtons = new QHBoxLayout;
    userButtons->addWidget(MorCmdUsCesA);
    userButtons->addWidget(MorCmdUsCesG);
    userButtons->addWidget(MorCmdCPConAlta);
    grid->addLayout(userButtons, 5, 0, 1, 3);

    connect(MorCmdCPConRec, &QPushButton::clicked, this, [this] { Recuperar(); });
    connect(MorCmdCPConGra, &QPushButton::clicked, this, [this] { GrabarSoftware(); });
    connect(MorCmdUsCesA, &QPushButton::clicked, this, [this] { Aplicar(); });
    connect(MorCmdUsCesG, &QPushButton::clicked, this, [this] { GrabarUsuario(); });
    connect(MorComCPUsuarios, &QComboBox::activated, this, [this] { UserChosen(); });
    Load();
}

void MorFrmCPri::Load() {
    MorComCPUsuarios->clear();
    QString problem;
    MorComCPUsuarios->addItems(UserNames(p_.s.paths().users(), &problem));
    if (!problem.isEmpty()) p_.msg.info(problem);
    MorComCPUsuarios->setCurrentIndex(-1);
    MorComCPUsuarios->setEditText(QString());
}

void MorFrmCPri::Recuperar() {
    const QString path = ResolvePath(p_.s.paths().softwareSettings());
    if (!QFileInfo::exists(path)) {
        p_.msg.info(QStringLiteral("No existe el archivo %1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const RecordRead r = ReadRecord(path, SoftwareSettingsRecord);
    if (!r.ok) {
        p_.msg.info(ReadRefusal(path, r.cause));
        return;
    }
    MorTexE21->setText(r.fields[23]);
    MorTexE22->setText(r.fields[24]);
}

int MorFrmCPri::selectedUser() const {
    const int i = MorComCPUsuarios->currentIndex();
    return i >= 0 && MorComCPUsuarios->itemText(i) == MorComCPUsuarios->currentText() ? i : -1;
}

void MorFrmCPri::GrabarSoftware() {
    const QString path = ResolvePath(p_.s.paths().softwareSettings());
    const bool exists = QFileInfo::exists(path);
    SoftwareSettingsInput in;
    if (exists) {
        const RecordBytes before = ReadRecordBytes(path, SoftwareSettingsRecord);
        if (!before.ok) {
            // Its kept fields would be lost.
            p_.msg.info(ReadRefusal(path, before.cause) + QStringLiteral(" No se grabó nada."));
            return;
        }
        in.before = before.fields;
        in.installationCode = before.fields[25];
        p_.s.InstallationCode = FromAnsi(in.installationCode);
    } else {
        in.installationCode = ToAnsi(p_.s.InstallationCode);
    }
    if (const QString problem = UnstorableText({MorTexE21->text(), MorTexE22->text()}, path);
        !problem.isEmpty()) {
        p_.msg.info(problem);
        return;
    }
    if (exists && !p_.msg.yes(QStringLiteral("¿Desea reemplazar  ") +
                              QDir::toNativeSeparators(path) + QStringLiteral("  ?")))
        return;
    in.selectedUser = selectedUser();
    in.date = ShortDateText();
    in.retries = MorTexE21->text();
    in.timeout = MorTexE22->text();
    const RecordWriteResult written = WriteRecordBytes(
        path, SoftwareSettingsRecord, SoftwareSettingsFields(in), 1, p_.s.AppFolder);
    if (!written.ok) {
        p_.msg.info(written.error);
        return;
    }
    p_.s.CredentialsFromMenu = true;
    QWidget* credentials = p_.window(QStringLiteral("frmCapLogin"));
    credentials->show();
    credentials->raise();
    close();
}

void MorFrmCPri::UserChosen() {
    QString problem;
    const auto found = FindUser(p_.s.paths().users(), MorComCPUsuarios->currentText(), &problem);
    if (!problem.isEmpty()) p_.msg.info(problem);
    if (!found) return;
    keptName_ = KeptField::From(found->fields[0]);
    keptSlot_ = KeptField::From(found->fields[1]);
    keptThird_ = KeptField::From(found->fields[2]);
    MorTexE23->setText(keptSlot_.text);
    MorTexE25->setText(keptThird_.text);
    MorTexE24->setText(FromAnsi(found->fields[3]));
}

void MorFrmCPri::Aplicar() {
    const QString name = MorComCPUsuarios->currentText();
    QString problem;
    const auto found = FindUser(p_.s.paths().users(), name, &problem);
    if (!problem.isEmpty()) p_.msg.info(problem);
    // A name not found forgets an earlier lookup, so its slot is not overwritten.
    UserFound = found.has_value();
    UserRecordNumber = found ? found->recordNumber : 0;
    foundName_ = found ? name : QString();
}

void MorFrmCPri::GrabarUsuario() {
    const QString name = MorComCPUsuarios->currentText();
    const QString slotText = MorTexE23->text();
    const std::optional<int> slot = SlotNumber(slotText);
    if (!slot) {
        p_.msg.info(QStringLiteral("El registro \"%1\" no es un número entero positivo (de 1 a "
                                   "32767). No se grabó el usuario.")
                        .arg(slotText));
        return;
    }
    if (const QString problem =
            UnstorableText({name, slotText, MorTexE25->text()}, p_.s.paths().users());
        !problem.isEmpty()) {
        p_.msg.info(problem);
        return;
    }
    // The lookup holds only for the name it found.
    const int record = UserFound && name == foundName_ ? UserRecordNumber : *slot;
    const QList<QByteArray> fields{keptName_.bytesFor(name), keptSlot_.bytesFor(slotText),
                                   keptThird_.bytesFor(MorTexE25->text()), ToAnsi(ShortDateText())};
    const RecordWriteResult written =
        WriteRecordBytes(p_.s.paths().users(), UserRecord, fields, record, p_.s.AppFolder);
    if (!written.ok) p_.msg.info(written.error);
    UserFound = false;
}

}  // namespace morla
