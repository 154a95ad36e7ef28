#pragma once
// The line trace in the monitor: every character in and out with direction, time, hex and
// text; pause, clear and save to a file a technician can mail.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "session/linetrace.h"
#include "session/transport.h"

namespace morla {

class LineTraceView : public QWidget {
    Q_OBJECT
  public:
    explicit LineTraceView(QWidget* parent = nullptr);

    // Records everything the port sends and receives from now on, shown or not.
    void attach(Transport& port);

    LineTrace trace;
    QPlainTextEdit* traceText;
    QPushButton *tracePause, *traceClear, *traceSave;
    QTimer refresh;  // the view follows at most every refresh interval, never per character

    // Where "Guardar traza..." writes (a file dialog in the program; tests answer directly).
    std::function<QString()> askSavePath;
    // Reports a failed save (the program's message seam).
    std::function<void(const QString&)> report;

    // Moves the complete lines into the view (the refresh timer's tick).
    void flush();
    bool saveTo(const QString& path);

  private:
    void record(LineTrace::Direction direction, const QByteArray& bytes);
    std::int64_t shown_ = 0;  // trace position up to which lines are in the view
};

}  // namespace morla
