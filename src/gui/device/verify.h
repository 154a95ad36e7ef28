#pragma once
// Verify after write, as the main window runs it: the setting, "&Enviar", a unit of a series.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

#include "session/writeverification.h"

class QAction;
class QTimer;

namespace morla {

class Program;

// The setting, kept in the program folder; on when never set.
QString OptionsFilePath(const Program& p);
bool VerifyAfterWriteEnabled(const Program& p);
// False with a reason when the file cannot be written.
bool SetVerifyAfterWrite(const Program& p, bool on, QString* error = nullptr);

// The verification of the main window's writes: the status line and a message tell its outcome,
// each difference named by the caption the panel shows beside the field.
class WriteVerifier : public QObject {
    Q_OBJECT
  public:
    explicit WriteVerifier(Program& p);

    // Follows the whole write just started (frame and data text prepared, send timer running).
    void watch();
    bool busy() const { return verification_->busy(); }
    // Whether a failed verification also shows a message box (not in a series).
    bool reportByMessage = true;

    QTimer* settle;   // from the data text to the read-back
    QTimer* timeout;  // the whole write and the read-back's reply must end within this

  signals:
    void finished(const morla::VerifyOutcome& outcome);

  private:
    void report(VerifyOutcome outcome);

    Program& p_;
    WriteVerification* verification_;
};

// The program's verifier (made on first use).
WriteVerifier& VerifierOf(Program& p);
// "&Enviar": the whole write, and its verification when the setting is on.
void WriteWholeConfiguration(Program& p);
// The whole write of a unit in a series: always verified, failures not shown in a box. False
// when nothing was sent (the key refused, the port not open).
bool WriteAndVerifyUnit(Program& p);
// The menu item "Verificar al escribir" under "&Configuración".
QAction* InstallVerifyOption(Program& p);

}  // namespace morla
