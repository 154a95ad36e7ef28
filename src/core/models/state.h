#pragma once
// The program's shared state: one instance, members named as the windows and handlers use
// them. Tests build a fresh one.
#include <QString>
#include <QStringList>
#include <array>

#include "core/codec/textbox.h"
#include "core/config/recordfile.h"

namespace morla {

// What the monitor's boxes and the hidden log hold; their widgets only show it. The receive
// path and the decoders work on these strings.
struct MonitorText {
    // The hidden log keeps the last this many characters.
    static constexpr qsizetype kLogBound = 65536;
    TextBox MorTexMon01, MorTexMon02, MorTexMon03;  // transmission CHR, HEX, ASC
    TextBox MorTexMon04, MorTexMon05, MorTexMon06;  // reception CHR, HEX, ASC
    TextBox MorTexMon08;                            // map
    TextBox txttodo{kLogBound};                     // hidden log
};

struct MorlaState {
    // Program folder and user level
    QString AppFolder;
    QString DataFolder = QStringLiteral("Utilerias");
    QString ModeCode;
    QString OperatorMode = QStringLiteral("Ingenieria");
    bool CredentialsFromMenu = false;
    int ComPortNumber = 1;

    // Current model and device
    QString EquipmentName = QStringLiteral("Morla");
    QString ModelCode;
    QString FirmwareCode;
    QString InstallationCode;
    QString FilePath;

    // Decoding
    int LiveReplyFlag = 1;
    QString ReadMap, LastReadMap, LastReadText;
    int MaxReadRetries = 0;
    int ReadRetryCount = 0;
    int LoopIndex = 0;

    // Sending
    QString SendFrame;
    QString SendData;
    QString SendMask;
    QString KeyStatus;
    QString CommandNumber = QStringLiteral("0");
    QString CommandValue = QStringLiteral("0");
    QString CommandIndex;
    QString CommandSeparator = QStringLiteral(",");
    QString CommandString;
    QString PreviousKey;
    QString KeyEditorMode;
    bool BuildFrameOnSend = true;
    // While "&Ult.Envío" shows the last frame sent: what the frame does not carry stays as the
    // panel shows it.
    bool ShowingSentFrame = false;
    // The trunk option as the last read found it ("" before any read); whole writes take it.
    QString SwitchTrunkState, PellitorTrunkState, KovalindreTrunkState;
    std::array<QString, 9> RestrictorFlags{"0", "0", "0", "0", "0", "0", "0", "0", "0"};

    // Device commands, each the code text followed by "f"
    QString ReadCommand, WriteCommand, FactoryResetCommand, KeyResetCommand, VerifyCommand,
        HangUpCommand;

    // Transport
    int SendPosition = 1;
    QString PendingMessage;
    QString ReceivedChunk;
    QString ReceiveOpen;
    QString SendWholeFrame = QStringLiteral("0");

    // Monitor boxes and hidden log
    MonitorText Monitor;

    QString joinedRestrictorFlags() const;
    Paths paths() const { return Paths{AppFolder, DataFolder}; }
};

}  // namespace morla
