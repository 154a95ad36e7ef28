#include "gui/main/mainwindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include "core/models/registry.h"
#include "gui/main/named.h"

namespace morla {

namespace {

// A status line that never widens the window: a text longer than its room is cut with "…"
// on screen, and the whole text stays in text() and the tooltip.
class StatusLine : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) setToolTip(text());
        return QLabel::event(e);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect room = contentsRect();
        painter.drawText(room, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
    }
};
QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
}  // namespace

MorForPri::MorForPri(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MorForPri"));
    setWindowTitle(QStringLiteral("Morla para "));
    QFont framesFont(QStringLiteral("Comic Sans MS"));
    framesFont.setPointSize(9);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    outer->addLayout(top, 1);

    // Model buttons
    auto* modelColumn = new QVBoxLayout;
    static const char16_t* captions[14] = {u"Morla",
                                           u"Sorvanell",
                                           u"Lúvero",
                                           u"Zentavira",
                                           u"Haldrivonexa",
                                           u"Quarn",
                                           u"Pellitor",
                                           u"Tervolinda",
                                           u"Kovalindre",
                                           u"Quarn Dolmeth",
                                           u"Tervolinda Voz",
                                           u"",
                                           u"",
                                           u""};
    for (int i = 0; i < 14; ++i) {
        MorCmd[i] = named(new QPushButton(QString::fromUtf16(captions[i]), central),
                          QStringLiteral("MorCmd") + two(i + 1));
        MorCmd[i]->setFont(framesFont);
        MorCmd[i]->setMinimumWidth(130);
        if (i >= 11) MorCmd[i]->hide();  // no command behind them
        modelColumn->addWidget(MorCmd[i]);
    }
    modelColumn->addStretch(1);
    top->addLayout(modelColumn);

    // Panel area: the start page and the model frames share one place; one is visible.
    auto* panelArea = new QWidget(central);
    panelArea->setObjectName(QStringLiteral("panelArea"));
    auto* panelGrid = new QGridLayout(panelArea);
    panelGrid->setContentsMargins(0, 0, 0, 0);
    MorFraPri = named(new QFrame(panelArea), QStringLiteral("MorFraPri"));
    MorFraPri->setFrameShape(QFrame::StyledPanel);
    auto* priLayout = new QVBoxLayout(MorFraPri);
    MorLabPrin =
        named(new QLabel(QStringLiteral("MORLA"), MorFraPri), QStringLiteral("MorLabPrin"));
    QFont titleFont(QStringLiteral("Comic Sans MS"));
    titleFont.setPointSize(22);
    titleFont.setBold(true);
    MorLabPrin->setFont(titleFont);
    MorLabPrin->setAlignment(Qt::AlignCenter);
    MorPicPri = named(new QLabel(MorFraPri), QStringLiteral("MorPicPri"));
    MorPicPri->setAlignment(Qt::AlignCenter);
    MorPicPri->setMinimumSize(420, 300);
    priLayout->addWidget(MorLabPrin);
    priLayout->addWidget(MorPicPri, 1);
    panelGrid->addWidget(MorFraPri, 0, 0);

    auto makeFrame = [&](const char* name) {
        auto* f = named(new QFrame(panelArea), QString::fromLatin1(name));
        f->setFrameShape(QFrame::StyledPanel);
        f->setFont(framesFont);
        f->setMinimumSize(420, 300);
        f->hide();
        panelGrid->addWidget(f, 0, 0);
        return f;
    };
    MorFraAle = makeFrame("MorFraAle");
    MorFraBas = makeFrame("MorFraBas");
    MorFraUni = makeFrame("MorFraUni");
    MorFraMult = makeFrame("MorFraMult");
    MorFraFlh = makeFrame("MorFraFlh");
    MorFraCon = makeFrame("MorFraCon");
    MorFraPriv = makeFrame("MorFraPriv");
    MorFraMulClv = makeFrame("MorFraMulClv");
    top->addWidget(panelArea, 1);

    // Common fields on the "Restrictor" tab strip
    MorTaSRes = named(new QTabWidget(central), QStringLiteral("MorTaSRes"));
    MorTaSRes->setFont(framesFont);
    auto* resPage = new QWidget;
    MorTaSRes->addTab(resPage, QStringLiteral("Restrictor"));
    auto* res = new QGridLayout(resPage);
    MorTexRes = named(new QLineEdit(QStringLiteral("Clave"), resPage), QStringLiteral("MorTexRes"));
    MorTexRes->setReadOnly(true);
    MorTexRes->setFrame(false);
    MorTexRes->setFocusPolicy(Qt::NoFocus);
    // A caption in a text box: no background of its own, like the labels beside it.
    MorTexRes->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    MorTexResCla = named(new QLineEdit(resPage), QStringLiteral("MorTexResCla"));
    MorTexResFirL =
        named(new QLabel(QStringLiteral("FirmWare"), resPage), QStringLiteral("MorTexResFirL"));
    MorTexResFirm =
        named(new QLineEdit(QStringLiteral("30"), resPage), QStringLiteral("MorTexResFirm"));
    MorTexResUsL = named(new QLabel(QStringLiteral("Tipo de Usuario"), resPage),
                         QStringLiteral("MorTexResUsL"));
    MorTexResUs = named(new QLineEdit(resPage), QStringLiteral("MorTexResUs"));
    MorTexResModL =
        named(new QLabel(QStringLiteral("Modifico"), resPage), QStringLiteral("MorTexResModL"));
    MorTexResMod = named(new QLineEdit(resPage), QStringLiteral("MorTexResMod"));
    int row = 0;
    res->addWidget(MorTexRes, row, 0);
    res->addWidget(MorTexResCla, row++, 1);
    res->addWidget(MorTexResFirL, row, 0);
    res->addWidget(MorTexResFirm, row++, 1);
    res->addWidget(MorTexResUsL, row, 0);
    res->addWidget(MorTexResUs, row++, 1);
    res->addWidget(MorTexResModL, row, 0);
    res->addWidget(MorTexResMod, row++, 1);
    for (int i = 0; i < 9; ++i) {
        MorChkRes[i] = named(new QCheckBox(QStringLiteral("Restrictor") + two(i + 1), resPage),
                             QStringLiteral("MorChkRes") + two(i + 1));
        res->addWidget(MorChkRes[i], row++, 0, 1, 2);
    }
    MorTexBan = named(new QLineEdit(resPage), QStringLiteral("MorTexBan"));
    res->addWidget(MorTexBan, row++, 0, 1, 2);
    res->setRowStretch(row, 1);
    MorTaSRes->setMinimumWidth(260);
    top->addWidget(MorTaSRes);

    // Command buttons on their tab strip
    MorTaSCom = named(new QTabWidget(central), QStringLiteral("MorTaSCom"));
    MorTaSCom->setFont(framesFont);
    auto* comPage = new QWidget;
    MorTaSCom->addTab(comPage, QStringLiteral("Comandos"));
    auto* com = new QHBoxLayout(comPage);
    auto button = [&](const char* name, const QString& caption) {
        auto* b = named(new QPushButton(caption, comPage), QString::fromLatin1(name));
        b->setFont(framesFont);
        com->addWidget(b);
        return b;
    };
    MorFraCom01 = button("MorFraCom01", QStringLiteral("&Colgar"));
    MorFraCom02 = button("MorFraCom02", QStringLiteral("&Verificar"));
    MorFraCom03 = button("MorFraCom03", QStringLiteral("&Leer"));
    MorFraCom04 = button("MorFraCom04", QStringLiteral("&Enviar"));
    MorFraCom05 = button("MorFraCom05", QStringLiteral("Ult.&Leído"));
    MorFraCom06 = button("MorFraCom06", QStringLiteral("&Ult.Envío"));
    MorFraCom07 = button("MorFraCom07", QStringLiteral("&Default"));
    MorFraCom10 = button("MorFraCom10", QStringLiteral("&Reset Fábrica"));
    MorFraCom08 = button("MorFraCom08", QStringLiteral("E&scape"));
    outer->addWidget(MorTaSCom);

    // Status
    MorFraEst =
        named(new QGroupBox(QStringLiteral("Estátus"), central), QStringLiteral("MorFraEst"));
    MorFraEst->setFont(framesFont);
    auto* est = new QHBoxLayout(MorFraEst);
    MorTexEst = named(new QLineEdit(MorFraEst), QStringLiteral("MorTexEst"));
    MorTexEst->setReadOnly(true);
    readProgress = named(new QProgressBar(MorFraEst), QStringLiteral("readProgress"));
    readProgress->setFormat(QStringLiteral("%v de %m caracteres"));
    // Wide enough for the longest count in the status font.
    readProgress->setMinimumWidth(
        QFontMetrics(framesFont).horizontalAdvance(QStringLiteral("270 de 270 caracteres")) + 48);
    readProgress->hide();
    est->addWidget(MorTexEst, 1);
    est->addWidget(readProgress);
    sendStatus = named(new StatusLine(MorFraEst), QStringLiteral("sendStatus"));
    sendStatus->setFont(QFont());
    sendStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    est->addWidget(sendStatus, 1);
    // Stops a send while it waits; shown only then, with Esc as its key.
    sendCancel =
        named(new QPushButton(QStringLiteral("Cancelar"), MorFraEst), QStringLiteral("sendCancel"));
    sendCancel->setFont(QFont());
    sendCancel->setShortcut(QKeySequence(Qt::Key_Escape));
    sendCancel->hide();
    est->addWidget(sendCancel);
    sendCountdown = named(new QTimer(this), QStringLiteral("sendCountdown"));
    sendCountdown->setInterval(1000);
    outer->addWidget(MorFraEst);

    // Menus
    MorMnuPrin =
        named(menuBar()->addMenu(QStringLiteral("&Principal")), QStringLiteral("MorMnuPrin"));
    // Mnemonics of this menu: G, A, E (series), S; none of P, C, M of the menu bar.
    MorMnuPriGua = named(MorMnuPrin->addAction(QStringLiteral("&Guardar configuración...")),
                         QStringLiteral("MorMnuPriGua"));
    MorMnuPriAbr = named(MorMnuPrin->addAction(QStringLiteral("&Abrir configuración...")),
                         QStringLiteral("MorMnuPriAbr"));
    MorMnuPrin->addSeparator();
    MorMnuPriSal =
        named(MorMnuPrin->addAction(QStringLiteral("&Salir")), QStringLiteral("MorMnuPriSal"));
    MorMnuCon =
        named(menuBar()->addMenu(QStringLiteral("&Configuración")), QStringLiteral("MorMnuCon"));
    MorMnuConE =
        named(MorMnuCon->addAction(QStringLiteral("&Equipos")), QStringLiteral("MorMnuConE"));
    MorMnuConC =
        named(MorMnuCon->addAction(QStringLiteral("&Software")), QStringLiteral("MorMnuConC"));
    MorMnuConPue = named(MorMnuCon->addAction(QStringLiteral("P&uerto serie...")),
                         QStringLiteral("MorMnuConPue"));
    MorMnuMon =
        named(menuBar()->addAction(QStringLiteral("&Monitor")), QStringLiteral("MorMnuMon"));
    mnuComando = named(new QMenu(QStringLiteral("Comando"), this), QStringLiteral("mnuComando"));
    mnuEnviar = named(mnuComando->addAction(QStringLiteral("Enviar")), QStringLiteral("mnuEnviar"));

    // Timers: each runs one tick per enabling, on time (a coarse timer may fire 5 % early or late).
    auto timer = [&](const char* name, int ms) {
        auto* t = named(new QTimer(this), QString::fromLatin1(name));
        t->setInterval(ms);
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
        return t;
    };
    TimerPID = named(new PacedTimer(this), QStringLiteral("TimerPID"));
    TimerPID->setInterval(5000);
    TimerPID->setSingleShot(true);
    TimerPID->setTimerType(Qt::PreciseTimer);
    TimerEC = timer("TimerEC", 65000);
    Retardo = timer("Retardo", 5000);
}

QFrame* MorForPri::frameNamed(const QString& name) const {
    for (QFrame* f : modelFrames())
        if (f->objectName() == name) return f;
    return nullptr;
}

std::array<QFrame*, 8> MorForPri::modelFrames() const {
    return {MorFraAle,  MorFraBas, MorFraUni,  MorFraFlh,
            MorFraMult, MorFraCon, MorFraPriv, MorFraMulClv};
}

void MorForPri::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        if (onUnload) onUnload();
    }
    event->accept();
}

}  // namespace morla
