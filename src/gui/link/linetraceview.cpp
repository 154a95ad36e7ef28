#include "gui/link/linetraceview.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QTextCursor>
#include <QVBoxLayout>

namespace morla {

namespace {
constexpr int kRefreshMs = 100;
// Lines the view keeps; the trace itself keeps its characters for saving.
constexpr int kViewLines = LineTrace::kDefaultCapacity / 8;
}  // namespace

LineTraceView::LineTraceView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("lineTrace"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    traceText = new QPlainTextEdit(this);
    traceText->setObjectName(QStringLiteral("traceText"));
    traceText->setReadOnly(true);
    traceText->setLineWrapMode(QPlainTextEdit::NoWrap);
    traceText->setMaximumBlockCount(kViewLines);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    traceText->setFont(mono);
    layout->addWidget(traceText, 1);

    auto* buttons = new QHBoxLayout;
    tracePause = new QPushButton(QStringLiteral("Pausa"), this);
    tracePause->setObjectName(QStringLiteral("tracePause"));
    tracePause->setCheckable(true);
    traceClear = new QPushButton(QStringLiteral("Borrar traza"), this);
    traceClear->setObjectName(QStringLiteral("traceClear"));
    traceSave = new QPushButton(QStringLiteral("Guardar traza..."), this);
    traceSave->setObjectName(QStringLiteral("traceSave"));
    buttons->addWidget(tracePause);
    buttons->addWidget(traceClear);
    buttons->addWidget(traceSave);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    refresh.setObjectName(QStringLiteral("traceRefresh"));
    refresh.setInterval(kRefreshMs);
    refresh.setSingleShot(true);
    connect(&refresh, &QTimer::timeout, this, &LineTraceView::flush);

    connect(tracePause, &QPushButton::toggled, this, [this](bool paused) {
        tracePause->setText(paused ? QStringLiteral("Seguir") : QStringLiteral("Pausa"));
        if (!paused) flush();
    });
    connect(traceClear, &QPushButton::clicked, this, [this] {
        trace.clear();
        shown_ = trace.added();
        traceText->clear();
    });
    askSavePath = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Guardar traza"),
                                            QStringLiteral("traza.txt"),
                                            QStringLiteral("Texto (*.txt)"));
    };
    connect(traceSave, &QPushButton::clicked, this, [this] {
        const QString path = askSavePath ? askSavePath() : QString();
        if (!path.isEmpty()) saveTo(path);
    });
}

void LineTraceView::attach(Transport& port) {
    connect(&port, &Transport::received, this,
            [this](char b) { record(LineTrace::Direction::In, QByteArray(1, b)); });
    connect(&port, &Transport::written, this,
            [this](const QByteArray& bytes) { record(LineTrace::Direction::Out, bytes); });
}

void LineTraceView::record(LineTrace::Direction direction, const QByteArray& bytes) {
    trace.add(direction, bytes, QDateTime::currentMSecsSinceEpoch());
    // A line still open closes after the pause: look again a little after it.
    if (!refresh.isActive()) refresh.start();
}

void LineTraceView::flush() {
    if (tracePause->isChecked()) return;
    QStringList lines;
    shown_ = trace.closedLines(shown_, QDateTime::currentMSecsSinceEpoch(), &lines);
    if (!lines.isEmpty()) {
        // The editor's cursor sits at the end of an empty text, so the first lines carry it to
        // the end of a long line, and the editor scrolls to its cursor when first shown, hiding
        // the time column. It goes back to the start; later lines are added behind it.
        const bool first = traceText->document()->isEmpty();
        traceText->appendPlainText(lines.join(QLatin1Char('\n')));
        if (first) traceText->moveCursor(QTextCursor::Start);
    }
    if (shown_ < trace.added()) refresh.start();
}

bool LineTraceView::saveTo(const QString& path) {
    QString error;
    if (trace.save(path, &error)) return true;
    if (report) report(QStringLiteral("No se pudo guardar la traza en %1: %2").arg(path, error));
    return false;
}

}  // namespace morla
