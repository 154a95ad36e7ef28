#include "gui/panels/keychangeform.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/fields/rules.h"
#include "gui/fields/fieldhandlers.h"
#include "gui/fields/fieldrules.h"
#include "gui/link/sendpipeline.h"
#include "gui/main/program.h"

namespace morla {

MorForCamCla::MorForCamCla(Program& p) : QWidget(p.main.get(), Qt::Window), p_(p) {
    setObjectName(QStringLiteral("morforCamCla"));
    setWindowTitle(QStringLiteral("MORLA"));
    auto* outer = new QVBoxLayout(this);
    morfracancka = new QGroupBox(QStringLiteral("Tecle la nueva clave"), this);
    morfracancka->setObjectName(QStringLiteral("morfracancka"));
    auto* inner = new QVBoxLayout(morfracancka);
    MorTextCanCka = new QLineEdit(morfracancka);
    MorTextCanCka->setObjectName(QStringLiteral("MorTextCanCka"));
    inner->addWidget(MorTextCanCka);
    morCmbCamCla = new QPushButton(QStringLiteral("Enviar"), morfracancka);
    morCmbCamCla->setObjectName(QStringLiteral("morCmbCamCla"));
    inner->addWidget(morCmbCamCla);
    outer->addWidget(morfracancka);

    BindBoxRule(p, MorTextCanCka, fields::KeyChangeEntryRule());
    connect(morCmbCamCla, &QPushButton::clicked, this, &MorForCamCla::Send);
}

void MorForCamCla::Send() {
    MorlaState& s = p_.s;
    s.PreviousKey = p_.main->MorTexResCla->text();
    p_.main->MorTexResCla->setText(MorTextCanCka->text());
    // A right press elsewhere while the form was open may have chosen another command.
    s.CommandNumber = QStringLiteral("10");
    StartSend(p_);
    if (s.ModelCode == QStringLiteral("08")) RunKeyEditor(p_, QStringLiteral("2"));
    hide();
}

MorForCamCla* OpenKeyChangeForm(Program& p) {
    auto* form = p.main->findChild<MorForCamCla*>(QString(), Qt::FindDirectChildrenOnly);
    if (!form) form = new MorForCamCla(p);
    // A closed form opens empty, as a freshly loaded one.
    if (!form->isVisible()) form->MorTextCanCka->clear();
    QLineEdit* key = p.main->MorTexResCla;
    form->MorTextCanCka->setMaxLength(key->maxLength());
    p.s.CommandNumber = QStringLiteral("10");
    const QPoint keyTopLeft = key->mapToGlobal(QPoint(0, 0));
    form->move(keyTopLeft.x() + kKeyFormOffset, keyTopLeft.y());
    form->show();
    form->raise();
    form->activateWindow();
    return form;
}

}  // namespace morla
