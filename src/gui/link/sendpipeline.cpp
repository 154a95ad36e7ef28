#include "gui/link/sendpipeline.h"

#include "core/models/fieldlayout.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

void PrepareSend(Program& p) {
    MorlaState& s = p.s;
    p.main->MorTexBan->setText(s.joinedRestrictorFlags());
    p.main->MorTexEst->setText(QStringLiteral("Escribiendo"));
    ClearMonitor(p);
    s.SendPosition = 1;
    CallBuildFrame(p, s.ModelCode);
    // The new record replaces the old one in one step: a crash between deleting and writing
    // would leave no last send at all. A record that cannot be kept does not stop the send.
    const RecordWriteResult written =
        ReplaceRecordFile(s.paths().lastSent(), LastSentRecord,
                          {s.ModelCode, s.SendFrame, ShortDateText(), s.SendMask, s.LastReadText,
                           s.SendData, QString::number(s.SendData.size())},
                          s.AppFolder);
    if (!written.ok)
        p.msg.info(QStringLiteral("No se pudo guardar el último envío: ") + written.error);
}

void StartSend(Program& p) {
    MorlaState& s = p.s;
    if (!EnsurePortOpen(p)) return;
    if (s.BuildFrameOnSend) {
        PrepareSend(p);
        CallCompleteSend(p, s.ModelCode);
    }
    p.main->TimerPID->start();
    s.CommandNumber = QStringLiteral("0");
    s.CommandValue = QStringLiteral("0");
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
}

void SendWholeConfiguration(Program& p) {
    MorlaState& s = p.s;
    if (!EnsurePortOpen(p)) return;
    s.SendWholeFrame = QStringLiteral("1");
    s.SendPosition = 1;
    PrepareSend(p);
    // A key shorter than the model's would shorten the data text and shift every field after it.
    const ModelInfo* model = ModelByCode(s.ModelCode);
    const bool keyComplete = model && p.main->MorTexResCla->text().size() >= model->keyLength;
    if (s.KeyStatus == QStringLiteral("Activado") && keyComplete) {
        QString command = s.WriteCommand.left(s.WriteCommand.size() - 1);
        SerialSend(p, command);
        p.main->TimerPID->start();
    } else {
        // A key never validated, empty or short is refused like a bad one.
        p.msg.info(QStringLiteral("Error en Captura"));
        s.KeyStatus = QStringLiteral("Activado");
        p.main->MorTexEst->setText(QStringLiteral("Morla"));
    }
}

void SendSingleCommand(Program& p) {
    if (RefuseWhileBusy(p)) return;
    p.s.SendWholeFrame = QStringLiteral("0");
    StartSend(p);
}

void ShowLastSent(Program& p) {
    MorlaState& s = p.s;
    const QString path = s.paths().lastSent();
    if (!FileExists(path)) {
        p.msg.info(QStringLiteral("No existe Ultimo Envio"));
        return;
    }
    const QStringList f = ReadRecord(path, LastSentRecord).fields;
    s.ModelCode = f[0];
    s.SendFrame = f[1];
    s.SendMask = f[3];
    s.LastReadText = f[4];
    p.main->MorTexEst->setText(QStringLiteral("Ultimo Envio ") + f[2]);
    s.LiveReplyFlag = 0;
    // Whether the frame carries a class code is the installation's class, as the send step
    // used it.
    const ModelInfo* m = ModelByCode(s.ModelCode);
    const bool withClassCode = !InstallationClassCode(InstallationClass(p)).isEmpty();
    s.ReadMap = m ? MapOfSentFrame(*m, s.SendFrame, withClassCode) : s.SendFrame;
    s.LastReadText = s.SendMask;
    s.Monitor.MorTexMon04.set(s.LastReadText);
    s.ShowingSentFrame = true;
    CallReadReply(p, s.ModelCode);
    s.ShowingSentFrame = false;
}

void ShowLastRead(Program& p) {
    MorlaState& s = p.s;
    s.LiveReplyFlag = 0;
    s.ReadMap = s.LastReadMap;
    s.Monitor.MorTexMon04.set(s.LastReadText);
    CallReadReply(p, s.ModelCode);
}

}  // namespace morla
