#include "gui/main/monitorwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace morla {

MonitorBox::MonitorBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    setFont(mono);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    own_.changed = [this] { textChanged(); };
    frame_.setSingleShot(true);
    frame_.setInterval(16);
    connect(&frame_, &QTimer::timeout, this, [this] {
        updateScrollRange();
        if (isVisible()) viewport()->update();
    });
}

MonitorBox::~MonitorBox() {
    if (text_ != &own_) text_->changed = nullptr;
}

void MonitorBox::bind(TextBox& text) {
    if (text_ != &own_) text_->changed = nullptr;
    text_ = &text;
    text_->changed = [this] { textChanged(); };
    textChanged();
}

int MonitorBox::columns() const {
    const int width = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    return qMax(1, (viewport()->width() - 4) / qMax(1, width));
}

int MonitorBox::rows() const {
    const qsizetype n = text_->size();
    return int((n + columns() - 1) / columns());
}

void MonitorBox::updateScrollRange() {
    const int inSight = qMax(1, viewport()->height() / qMax(1, fontMetrics().lineSpacing()));
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    bar->setRange(0, qMax(0, rows() - inSight));
    bar->setPageStep(inSight);
    if (atEnd) bar->setValue(bar->maximum());  // follows the text as it grows
}

void MonitorBox::textChanged() {
    // However many characters arrive within a screen frame, the box is laid out and painted
    // once for them.
    if (!frame_.isActive()) frame_.start();
}

void MonitorBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void MonitorBox::scrollContentsBy(int, int) {
    viewport()->update();
}

void MonitorBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QFontMetrics fm = fontMetrics();
    const int cols = columns();
    const int line = qMax(1, fm.lineSpacing());
    const QStringView text = text_->view();
    const int first = verticalScrollBar()->value();
    const int inSight = viewport()->height() / line + 1;
    for (int r = 0; r < inSight; ++r) {
        const qsizetype at = qsizetype(first + r) * cols;
        if (at >= text.size()) break;
        painter.drawText(2, r * line + fm.ascent(), text.mid(at, cols).toString());
    }
}

void MonitorBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(toPlainText());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

namespace {
MonitorBox* monitorBox(QWidget* parent, const QString& name) {
    auto* b = new MonitorBox(parent);
    b->setObjectName(name);
    b->setMinimumHeight(52);
    return b;
}
}  // namespace

MorForMonitor::MorForMonitor(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MorForMonitor"));
    setWindowTitle(QStringLiteral("Morla-Monitor"));
    // Wide enough for the trace beside the boxes, but never wider than the screen.
    QSize size(1200, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);
    // The written boxes on the left; the line trace beside them.
    auto* columns = new QHBoxLayout(this);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout, 3);
    traceGroup = new QGroupBox(QStringLiteral("Traza de la línea"), this);
    traceGroup->setObjectName(QStringLiteral("traceGroup"));
    new QVBoxLayout(traceGroup);
    columns->addWidget(traceGroup, 4);

    auto group = [&](const QString& title, MonitorBox** chr, MonitorBox** hex, MonitorBox** asc,
                     const QString& first) {
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

void MorForMonitor::bind(MonitorText& text) {
    MorTexMon01->bind(text.MorTexMon01);
    MorTexMon02->bind(text.MorTexMon02);
    MorTexMon03->bind(text.MorTexMon03);
    MorTexMon04->bind(text.MorTexMon04);
    MorTexMon05->bind(text.MorTexMon05);
    MorTexMon06->bind(text.MorTexMon06);
    MorTexMon08->bind(text.MorTexMon08);
}

FrmTodo::FrmTodo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTodo"));
    txttodo = new MonitorBox(this);
    txttodo->setObjectName(QStringLiteral("txttodo"));
    auto* l = new QVBoxLayout(this);
    l->addWidget(txttodo);
}

}  // namespace morla
