#pragma once
// Verify after write: once the data text of a whole write is out, the device is read back
// aside (the panel keeps what the technician set) and its map compared with the written frame,
// field by field.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

#include "core/models/fieldlayout.h"

class QAction;
class QTimer;

namespace morla {

class Program;

struct VerifyOutcome {
    bool verified = false;
    QString model;     // dispatch name of the model written
    QString firmware;  // as the read-back reports it ("" without a usable reply)
    QString key;       // the key box as the write took it
    QString problem;   // why no comparison could be made ("" when one was)
    std::vector<FieldDifference> differences;

    // "Verificado", or "No verificado: " and the differences or the problem.
    QString text() const;
    // The differences, or the problem.
    QString detail() const;
};

// The setting, kept in the program folder; on when never set.
QString OptionsFilePath(const Program& p);
bool VerifyAfterWriteEnabled(const Program& p);
// False with a reason when the file cannot be written.
bool SetVerifyAfterWrite(const Program& p, bool on, QString* error = nullptr);

class WriteVerifier : public QObject {
    Q_OBJECT
  public:
    explicit WriteVerifier(Program& p);

    // Follows the whole write just started (frame and data text prepared, send timer running):
    // once its data text is out, waits for `settle`, reads the device back and compares.
    void watch();
    bool busy() const { return stage_ != Stage::Idle; }
    // Whether a failed verification also shows a message box (not in a series).
    bool reportByMessage = true;

    QTimer* settle;   // from the data text to the read-back
    QTimer* timeout;  // the whole write and the read-back's reply must end within this

  signals:
    void finished(const morla::VerifyOutcome& outcome);

  private:
    enum class Stage { Idle, Writing, Settling, Reading };
    void dataOut();
    void otherMessage();
    void readBack();
    void requestReply();
    void take(char byte);
    void judge();
    void finish(VerifyOutcome outcome);

    Program& p_;
    Stage stage_ = Stage::Idle;
    const ModelInfo* model_ = nullptr;
    QString frame_, data_, firmwareCode_, key_;
    bool withClassCode_ = true;
    QByteArray reply_;
    int replyLength_ = 0;
    bool startingReadBack_ = false;
    int retries_ = 0;  // read-backs asked again after a wrong checksum
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
