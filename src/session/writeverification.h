#pragma once
// Verify after write: once the data text of a whole write is out, the device is read back aside
// (what the windows show stays as it is) and its map compared with the written frame, field by
// field.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

#include "core/models/fieldlayout.h"
#include "session/linesession.h"

class QTimer;

namespace morla {

struct VerifyOutcome {
    bool verified = false;
    QString model;     // dispatch name of the model written
    QString firmware;  // as the read-back reports it ("" without a usable reply)
    QString key;       // the key box as the write took it
    QString problem;   // why no comparison could be made ("" when one was)
    std::vector<FieldDifference> differences;
    // Ended by the user or by another message on the line, not by the device: no alarm.
    bool quiet = false;

    // "Verificado", or "No verificado: " and the differences or the problem.
    QString text() const;
    // The differences, or the problem.
    QString detail() const;
};

// What a whole write sent, as the verification compares it.
struct WrittenUnit {
    const ModelInfo* model = nullptr;
    QString frame;              // SendFrame
    QString data;               // SendData, the message whose end starts the wait
    QString firmwareCode;       // chooses the field layout of the model's variant
    QString key;                // the key box
    bool withClassCode = true;  // whether the frame carries the installation class code
};

class WriteVerification : public QObject {
    Q_OBJECT
  public:
    // A device stores the data text before it answers a read again; real units need a moment.
    static constexpr int kSettleMs = 1000;
    // With a time-out of 0 (never) a read-back that gets no answer still ends.
    static constexpr int kFallbackTimeoutMs = 65000;

    explicit WriteVerification(LineSession& line, QObject* parent = nullptr);

    // Follows the whole write just started (its send timer running): once its data text is
    // out, waits for `settle`, reads the device back and compares.
    void watch(const WrittenUnit& unit);
    bool busy() const { return stage_ != Stage::Idle; }
    // Ends the verification under way, without a comparison.
    void stop(const QString& problem, bool quiet);

    QTimer* settle;   // from the data text to the read-back
    QTimer* timeout;  // the whole write and the read-back's reply must end within this

  signals:
    void readingBack();
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
    int timeoutMs() const;

    LineSession& line_;
    Stage stage_ = Stage::Idle;
    WrittenUnit unit_;
    QByteArray reply_;
    int replyLength_ = 0;
    bool startingReadBack_ = false;
    int retries_ = 0;  // read-backs asked again after a wrong checksum
};

}  // namespace morla
