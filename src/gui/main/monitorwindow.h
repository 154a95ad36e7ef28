#pragma once
// The monitor: what went to and came from the device, and the command file by hand.
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "core/codec/textbox.h"
#include "core/models/state.h"

namespace morla {

// A read-only box of monospaced text wrapped at any character. It shows a TextBox that the
// receive path appends to: an appended character costs the same however much the box holds,
// and only the rows in sight are painted.
class MonitorBox : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit MonitorBox(QWidget* parent = nullptr);
    ~MonitorBox() override;

    // Shows `text` from now on instead of the box's own.
    void bind(TextBox& text);
    const TextBox& source() const { return *text_; }

    QString toPlainText() const { return text_->text(); }
    void setPlainText(const QString& text) { text_->set(text); }
    void appendText(const QString& text) { text_->append(text); }
    void clear() { text_->clear(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void textChanged();
    int columns() const;
    int rows() const;
    void updateScrollRange();

    TextBox own_;
    TextBox* text_ = &own_;
    QTimer frame_;  // what changed within one screen frame is painted once
};

class MorForMonitor : public QWidget {
    Q_OBJECT
  public:
    explicit MorForMonitor(QWidget* parent = nullptr);

    MonitorBox *MorTexMon01, *MorTexMon02, *MorTexMon03;  // transmission CHR, HEX, ASC
    MonitorBox *MorTexMon04, *MorTexMon05, *MorTexMon06;  // reception CHR, HEX, ASC
    MonitorBox* MorTexMon08;                              // map
    QLineEdit* MorTexMon07;                               // code of the chosen command
    QComboBox* MorComMon;
    QPushButton *MorCmdMon01, *MorCmdMon02, *MorCmdMon03, *MorCmdMon04;
    QGroupBox* traceGroup;  // holds the line trace

    // "&Aplicar" search result, used by "&Grabar"
    bool commandFound = false;
    int commandRecordNumber = 0;
    bool searched = false;

    // The boxes show the program's monitor text.
    void bind(MonitorText& text);
};

// Hidden log of every received character (the last MonitorText::kLogBound of them).
class FrmTodo : public QWidget {
    Q_OBJECT
  public:
    explicit FrmTodo(QWidget* parent = nullptr);
    MonitorBox* txttodo;
};

}  // namespace morla
