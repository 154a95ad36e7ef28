#include "context/monitorwindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace morla {

void AppendText(QPlainTextEdit* box, const QString& text) {
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::End);
    c.insertText(text);
}

namespace {
QPlainTextEdit* monitorBox(QWidget* parent, const QString& name) {
    auto* b = new QPlainTextEdit(parent);
    b->setObjectName(name);
    b->setReadOnly(true);
    b->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    b->setWordWrapMode(QTextOption::WrapAnywhere);
    b->setMinimumHeight(52);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    b->setFont(mono);
    return b;
}
}  // namespace

MorForMonitor::MorForMonitor(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MorForMonitor"));
    setWindowTitle(QStringLiteral("Morla-Monitor"));
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);

    auto group = [&](const QString& title, QPlainTextEdit** chr, QPlainTextEdit** hex,
                     QPlainTextEdit** asc, const QString& first) {
        auto* g = new QGroupBox(title, this);
        auto* grid = new QGridLayout(g);
        const int n = first.toInt();
        auto name = [](int k) {
            return QStringLiteral("MorTexMon%1").arg(k, 2, 10, QLatin1Char('0'));
        };
        *chr = monitorBox(g, name(n));
        *hex = monitorBox(g, name(n + 1));
        *asc = monitorBox(g, name(n + 2));
        grid->addWidget(new QLabel(QStringLiteral("CHR"), g), 0, 0);
        grid->addWidget(*chr, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("HEX"), g), 1, 0);
        grid->addWidget(*hex, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("ASC"), g), 2, 0);
        grid->addWidget(*asc, 2, 1);
        layout->addWidget(g);
    };
    group(QStringLiteral("Transmisión"), &MorTexMon01, &MorTexMon02, &MorTexMon03,
          QStringLiteral("1"));
    group(QStringLiteral("Recepción"), &MorTexMon04, &MorTexMon05, &MorTexMon06,
          QStringLiteral("4"));

    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(new QLabel(QStringLiteral("MAPA"), this));
    MorTexMon08 = monitorBox(this, QStringLiteral("MorTexMon08"));
    mapRow->addWidget(MorTexMon08, 1);
    layout->addLayout(mapRow);

    auto* cmdRow = new QHBoxLayout;
    MorComMon = new QComboBox(this);
    MorComMon->setObjectName(QStringLiteral("MorComMon"));
    MorComMon->setEditable(true);
    MorComMon->setEditText(QStringLiteral("Comandos"));
    MorComMon->setMinimumWidth(160);
    MorTexMon07 = new QLineEdit(this);
    MorTexMon07->setObjectName(QStringLiteral("MorTexMon07"));
    cmdRow->addWidget(MorComMon);
    cmdRow->addWidget(MorTexMon07, 1);
    layout->addLayout(cmdRow);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    MorCmdMon01 = button("MorCmdMon01", QStringLiteral("&Grabar"));
    MorCmdMon02 = button("MorCmdMon02", QStringLiteral("&Aplicar"));
    MorCmdMon03 = button("MorCmdMon03", QStringLiteral("&Borrar"));
    MorCmdMon04 = button("MorCmdMon04", QStringLiteral("&Comando"));
    layout->addLayout(buttons);
}

FrmTodo::FrmTodo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTodo"));
    txttodo = new QPlainTextEdit(this);
    txttodo->setObjectName(QStringLiteral("txttodo"));
    txttodo->setReadOnly(true);
    auto* l = new QVBoxLayout(this);
    l->addWidget(txttodo);
}

}  // namespace morla
