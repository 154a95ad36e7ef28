#pragma once
// "Programar serie...": the configuration on the panel written to one unit after another, each
// verified and recorded as one line of a CSV log in the program folder.
#include <QDialog>
#include <QStringList>

#include "core/config/serieslog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace morla {

class Program;
struct VerifyOutcome;

// The log of the series in the program folder.
QString SeriesLogPath(const Program& p);

class MorFrmSerie : public QDialog {
    Q_OBJECT
  public:
    explicit MorFrmSerie(Program& p, QWidget* parent = nullptr);

    QLabel* MorLblSerMod;  // model and key written
    QLabel* MorLblSerCon;  // units done and failed
    QLabel* MorLblSerEst;  // what the unit under way is doing, or the last result
    QPlainTextEdit* MorTxtSerLog;
    QPushButton* MorCmdSerSig;  // "Siguiente unidad"
    QPushButton* MorCmdSerDet;  // "Detener"

    int done() const { return done_; }
    int failed() const { return failed_; }
    bool unitUnderWay() const { return underWay_; }

    // Starts the next unit; does nothing while one is under way.
    void nextUnit();
    // Stops the series: at once between units, after the unit under way otherwise.
    void stopSeries();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void unitFinished(const VerifyOutcome& outcome);
    void showCounts();
    void showModel();

    Program& p_;
    int done_ = 0, failed_ = 0;
    bool underWay_ = false;
    bool stopAfterUnit_ = false;
    bool logFailed_ = false;  // a line could not be written: no further unit
};

// The menu item "Programar serie..." under "&Principal", before "&Salir".
void InstallSeries(Program& p);

}  // namespace morla
