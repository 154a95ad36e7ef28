#pragma once
// Sending one character per acknowledgment, the receive event, and the two timers.
#include <QString>

namespace morla {

class Program;

// Sends the character at SendPosition of "D" & message & "1" & "2"; after the last but one
// it also sends "P". On return message holds the framed text.
void SerialSend(Program& p, QString& message);
// Starts a message from its first character.
void StartMessage(Program& p, const QString& message);
// One received byte: the receive event, queued while an earlier one is still running.
void ReceiveByte(Program& p, char byte);
void OnComm(Program& p, char byte);
// Steps of the receive event once a reply has opened: the reception boxes, the model code
// and the decoder.
void ReceiveReplyCharacter(Program& p, char byte);
void TimerPIDTick(Program& p);
void TimerECTick(Program& p);
// Enables TimerEC unless its interval is 0 (a time-out of 0 seconds never fires).
void EnableTimerEC(Program& p);
// Clears the monitor's transmission, reception and map boxes (not the command code).
void ClearMonitor(Program& p);
// The read command "&Leer".
void ReadCommandStart(Program& p);

// Opens port ComPortNumber; on failure one message names the port, its device and the cause.
bool OpenPort(Program& p);
// Before a command that needs the port: a port that failed at start or went away is opened
// again first. True when the command may go out (always in modem mode).
bool EnsurePortOpen(Program& p);
// The status area's countdown while the send timer waits, and its line once a message is out.
void ShowSendCountdown(Program& p);
void ShowMessageSent(Program& p);
// Characters of a read received so far, of the model's reply length (0: not known yet).
void ShowReadProgress(Program& p, int received, int replyLength);

}  // namespace morla
