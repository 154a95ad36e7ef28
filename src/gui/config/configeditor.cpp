#include "gui/config/configeditor.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/main/named.h"
#include "gui/main/program.h"

namespace morla {

namespace {
QString numbered(const char* prefix, int k) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}
}  // namespace

MorFrmConf::MorFrmConf(Program& p, QWidget* parent) : QWidget(parent, Qt::Window), p_(p) {
    setObjectName(QStringLiteral("MorFrmConf"));
    setWindowTitle(QStringLiteral("Morla-Configuración"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);

    auto* head = new QGridLayout;
    MorComVis = named(new QComboBox(this), QStringLiteral("MorComVis"));
    MorComVis->setEditable(true);
    MorComVis->setInsertPolicy(QComboBox::NoInsert);
    MorComVis->setMinimumWidth(160);
    MorTexFirm = named(new QLineEdit(this), QStringLiteral("MorTexFirm"));
    MorTexIde = named(new QLineEdit(this), QStringLiteral("MorTexIde"));
    MorTexCla = named(new QLineEdit(this), QStringLiteral("MorTexCla"));
    MorTexFec = named(new QLineEdit(this), QStringLiteral("MorTexFec"));
    const std::pair<const char16_t*, QWidget*> heads[] = {{u"Equipo", MorComVis},
                                                          {u"Firmware", MorTexFirm},
                                                          {u"ID Equipo", MorTexIde},
                                                          {u"Clave", MorTexCla},
                                                          {u"Actualización", MorTexFec}};
    int column = 0;
    for (const auto& [caption, box] : heads) {
        head->addWidget(new QLabel(QString::fromUtf16(caption), this), 0, column);
        head->addWidget(box, 1, column++);
    }
    layout->addLayout(head);

    auto* body = new QHBoxLayout;
    auto* params = new QGridLayout;
    params->addWidget(new QLabel(QStringLiteral("Parámetro"), this), 0, 1);
    params->addWidget(new QLabel(QStringLiteral("Default"), this), 0, 2);
    params->addWidget(new QLabel(QStringLiteral("Visible"), this), 0, 3);
    for (int k = 0; k < 20; ++k) {
        params->addWidget(new QLabel(QString::number(k + 1), this), k + 1, 0);
        MorTexPar[k] = named(new QLineEdit(this), numbered("MorTexPar", k + 1));
        MorTexDef[k] = named(new QLineEdit(this), numbered("MorTexDef", k + 1));
        MorChkConVis[k] = named(new QCheckBox(this), numbered("MorChkConVis", k + 1));
        params->addWidget(MorTexPar[k], k + 1, 1);
        params->addWidget(MorTexDef[k], k + 1, 2);
        params->addWidget(MorChkConVis[k], k + 1, 3);
    }
    // Twenty rows close together, so the window fits a laptop screen.
    params->setVerticalSpacing(2);
    params->setColumnStretch(1, 3);
    params->setColumnStretch(2, 1);
    body->addLayout(params, 3);

    auto* side = new QVBoxLayout;
    MorFrmConRes =
        named(new QGroupBox(QStringLiteral("Restrictor"), this), QStringLiteral("MorFrmConRes"));
    auto* res = new QGridLayout(MorFrmConRes);
    res->addWidget(new QLabel(QStringLiteral("Nombre"), MorFrmConRes), 0, 0);
    res->addWidget(new QLabel(QStringLiteral("Estado"), MorFrmConRes), 0, 1);
    res->addWidget(new QLabel(QStringLiteral("Visible"), MorFrmConRes), 0, 2);
    for (int k = 0; k < 9; ++k) {
        MorTexRes[k] = named(new QLineEdit(MorFrmConRes), numbered("MorTexRes", k + 1));
        MorLabConchk[k] = named(new QCheckBox(numbered("Res", k + 1), MorFrmConRes),
                                numbered("MorLabConchk", k + 1));
        ResV[k] = named(new QCheckBox(MorFrmConRes), numbered("ResV", k + 1));
        res->addWidget(MorTexRes[k], k + 1, 0);
        res->addWidget(MorLabConchk[k], k + 1, 1);
        res->addWidget(ResV[k], k + 1, 2);
    }
    side->addWidget(MorFrmConRes);

    auto* flags = new QGridLayout;
    MorTexDefchk = named(new QLineEdit(this), QStringLiteral("MorTexDefchk"));
    MorTexDefchk2 = named(new QLineEdit(this), QStringLiteral("MorTexDefchk2"));
    MorTexDefchk3 = named(new QLineEdit(this), QStringLiteral("MorTexDefchk3"));
    MorTxtConReg = named(new QLineEdit(this), QStringLiteral("MorTxtConReg"));
    MorTxtConVis = named(new QLineEdit(this), QStringLiteral("MorTxtConVis"));
    flags->addWidget(MorTexDefchk, 0, 0);
    flags->addWidget(MorTexDefchk2, 0, 1);
    flags->addWidget(MorTexDefchk3, 0, 2);
    flags->addWidget(MorTxtConReg, 1, 0);
    flags->addWidget(MorTxtConVis, 1, 1);
    side->addLayout(flags);
    side->addStretch(1);
    MorCmdGra =
        named(new QPushButton(QStringLiteral("&Grabar"), this), QStringLiteral("MorCmdGra"));
    side->addWidget(MorCmdGra);
    body->addLayout(side, 2);
    layout->addLayout(body);

    for (const FlagGroup& g : flagGroups()) {
        for (int i = 0; i < g.count; ++i) {
            QString* flag = g.flags + i;
            connect(g.checks[i], &QCheckBox::toggled, this,
                    [flag](bool on) { *flag = on ? QStringLiteral("1") : QStringLiteral("0"); });
        }
        connect(g.box, &QLineEdit::textChanged, this, [this, g] { flagBoxChanged(g); });
    }
    connect(MorComVis, &QComboBox::activated, this, [this] { ModelChosen(); });
    connect(MorCmdGra, &QPushButton::clicked, this, [this] { Grabar(); });
    Load();
}

std::array<MorFrmConf::FlagGroup, 5> MorFrmConf::flagGroups() {
    return {FlagGroup{MorTexDefchk, MorChkConVis.data(), ParamVisibleFlags.data(), 10},
            FlagGroup{MorTexDefchk2, MorChkConVis.data() + 10, ParamVisibleFlags.data() + 10, 9},
            FlagGroup{MorTexDefchk3, MorChkConVis.data() + 19, ParamVisibleFlags.data() + 19, 1},
            FlagGroup{MorTxtConReg, MorLabConchk.data(), RestrictorStateFlags.data(), 9},
            FlagGroup{MorTxtConVis, ResV.data(), RestrictorVisibleFlags.data(), 9}};
}

void MorFrmConf::flagBoxChanged(const FlagGroup& g) {
    // Setting a box runs its click handler, so the flags follow.
    const QString wanted = FlagString(g.box->text(), g.count);
    for (int i = 0; i < g.count; ++i) g.checks[i]->setChecked(wanted[i] == '1');
}

void MorFrmConf::setFlagBoxesFromFlags() {
    for (const FlagGroup& g : flagGroups()) {
        QString joined;
        for (int i = 0; i < g.count; ++i) joined += g.flags[i];
        g.box->setText(joined);
        flagBoxChanged(g);  // also when the text was already this one
    }
}

std::array<std::pair<int, QLineEdit*>, 52> MorFrmConf::textFields() const {
    std::array<std::pair<int, QLineEdit*>, 52> out;
    int n = 0;
    for (int k = 0; k < 20; ++k) out[n++] = {k, MorTexPar[k]};
    for (int k = 0; k < 20; ++k) out[n++] = {20 + k, MorTexDef[k]};
    out[n++] = {42, MorTexIde};
    out[n++] = {43, MorTexCla};
    out[n++] = {44, MorTexFirm};
    for (int k = 0; k < 9; ++k) out[n++] = {45 + k, MorTexRes[k]};
    return out;
}

void MorFrmConf::Load() {
    MorTexFirm->setText(QStringLiteral("30"));
    for (QString& f : ParamVisibleFlags) f = QStringLiteral("0");
    for (QString& f : RestrictorStateFlags) f = QStringLiteral("0");
    for (QString& f : RestrictorVisibleFlags) f = QStringLiteral("0");
    setFlagBoxesFromFlags();
    MorComVis->clear();
    QString problem;
    MorComVis->addItems(EquipmentNames(p_.s.paths().equipmentIndex(), &problem));
    if (!problem.isEmpty()) p_.msg.info(problem);
    MorComVis->setCurrentIndex(-1);
    MorComVis->setEditText(QString());
}

void MorFrmConf::showRecord(const QList<QByteArray>& fields) {
    for (int i = 0; i < 57; ++i) kept_[i] = KeptField::From(fields.value(i));
    for (const auto& [field, box] : textFields()) box->setText(kept_[field].text);
    MorComVis->setEditText(kept_[41].text);
    const ParamFlagParts parts = SplitParamFlags(kept_[54].text);
    MorTexDefchk->setText(parts.first);
    MorTexDefchk2->setText(parts.second);
    MorTexDefchk3->setText(parts.third);
    MorTxtConReg->setText(kept_[55].text);
    MorTxtConVis->setText(kept_[40].text);
    for (const FlagGroup& g : flagGroups()) flagBoxChanged(g);
    MorTexFec->setText(kept_[56].text);
}

void MorFrmConf::ModelChosen() {
    const QString model = MorComVis->currentText();
    const Paths paths = p_.s.paths();
    if (const QString problem = ModelFileNameProblem(model, MorTexFirm->text());
        !problem.isEmpty()) {
        p_.msg.info(problem + QStringLiteral(". No se leyó ningún archivo."));
        return;
    }
    const QString path = ResolvePath(EditorConfigPath(paths, model, MorTexFirm->text()));
    if (QFileInfo::exists(path)) {
        const RecordBytes r = ReadRecordBytes(path, ModelConfigRecord);
        if (r.ok)
            showRecord(r.fields);
        else
            p_.msg.info(ReadRefusal(path, r.cause));
        return;
    }
    if (p_.msg.yes(QStringLiteral("No existe archivo de configuración. Crear uno nuevo?")))
        showRecord({});
}

QList<QByteArray> MorFrmConf::recordToSave() {
    QList<QByteArray> f(57);
    for (const auto& [field, box] : textFields()) f[field] = kept_[field].bytesFor(box->text());
    f[40] = ToAnsi(MorTxtConVis->text());
    f[41] = kept_[41].bytesFor(MorComVis->currentText());
    f[54] = ToAnsi(MorTexDefchk->text() + MorTexDefchk2->text() + MorTexDefchk3->text());
    f[55] = ToAnsi(MorTxtConReg->text());
    f[56] = ToAnsi(ShortDateText());
    return f;
}

void MorFrmConf::Grabar() {
    const QString model = MorComVis->currentText();
    if (model.isEmpty()) {
        p_.msg.info(QStringLiteral("No se ha seleccionado equipo"));
        return;
    }
    const QString firmware = MorTexFirm->text();
    if (const QString problem = ModelFileNameProblem(model, firmware); !problem.isEmpty()) {
        p_.msg.info(problem + QStringLiteral(". No se grabó nada."));
        return;
    }
    const Paths paths = p_.s.paths();
    const QString folder = ResolvePath(ModelConfigFolder(paths, model));
    if (!QFileInfo(folder).isDir()) {
        // It comes with the installed model; a typed name does not make one.
        p_.msg.info(QStringLiteral("No existe la carpeta %1. No se grabó nada.")
                        .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    const QString path = ResolvePath(EditorConfigPath(paths, model, firmware));
    if (QFileInfo(path).absolutePath() != QFileInfo(folder).absoluteFilePath()) {
        p_.msg.info(QStringLiteral("%1 queda fuera de la carpeta %2. No se grabó nada.")
                        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder)));
        return;
    }
    QStringList texts{MorComVis->currentText()};
    for (const auto& [field, box] : textFields()) texts << box->text();
    if (const QString problem = UnstorableText(texts, path); !problem.isEmpty()) {
        p_.msg.info(problem);
        return;
    }
    if (FileExists(path) &&
        !p_.msg.accepted(QStringLiteral("¿Desea reemplazar  ") + QDir::toNativeSeparators(path) +
                         QStringLiteral("  ?")))
        return;
    setFlagBoxesFromFlags();
    const RecordWriteResult written =
        WriteRecordBytes(path, ModelConfigRecord, recordToSave(), 1, paths.AppFolder);
    if (!written.ok) {
        p_.msg.info(written.error);
        return;
    }
    const QString index = paths.equipmentIndex();
    if (!FileExists(index))
        p_.msg.info(QStringLiteral("No existe archivo de configuración. Se creara uno nuevo"));
    const RecordWriteResult indexed =
        RecordInEquipmentIndex(index, model, MorTexIde->text(), paths.AppFolder);
    if (!indexed.ok) p_.msg.info(indexed.error);
}

}  // namespace morla
