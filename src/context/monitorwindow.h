#pragma once
// The monitor: what went to and came from the device, and the command file by hand.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace morla {

class MorForMonitor : public QWidget {
    Q_OBJECT
  public:
    explicit MorForMonitor(QWidget* parent = nullptr);

    QPlainTextEdit *MorTexMon01, *MorTexMon02, *MorTexMon03;  // transmission CHR, HEX, ASC
    QPlainTextEdit *MorTexMon04, *MorTexMon05, *MorTexMon06;  // reception CHR, HEX, ASC
    QPlainTextEdit* MorTexMon08;                              // map
    QLineEdit* MorTexMon07;                                   // code of the chosen command
    QComboBox* MorComMon;
    QPushButton *MorCmdMon01, *MorCmdMon02, *MorCmdMon03, *MorCmdMon04;

    // "&Aplicar" search result, used by "&Grabar"
    bool commandFound = false;
    int commandRecordNumber = 0;
    bool searched = false;
};

// Hidden log of every received character.
class FrmTodo : public QWidget {
    Q_OBJECT
  public:
    explicit FrmTodo(QWidget* parent = nullptr);
    QPlainTextEdit* txttodo;
};

void AppendText(QPlainTextEdit* box, const QString& text);

}  // namespace morla
