#pragma once
// The main window's side of the line session: its commands and timer ticks, and what the
// status area shows of the line.
#include <QString>

namespace morla {

class Program;

// Sends the character at SendPosition of "D" & message & "1" & "2"; after the last but one
// it also sends "P". On return message holds the framed text.
void SerialSend(Program& p, QString& message);
// Starts a message from its first character.
void StartMessage(Program& p, const QString& message);
void TimerPIDTick(Program& p);
// Stops a send while the send timer waits: nothing of it goes out ("Envío cancelado").
void CancelSend(Program& p);
// Clears the monitor's transmission, reception and map boxes (not the command code).
void ClearMonitor(Program& p);
// What is under way on the line ("Ocupado: ..."), "" when a new read or send may start.
QString LineBusy(Program& p);
// True, with the reason beside the status, when a new read or send must wait.
bool RefuseWhileBusy(Program& p);
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
// Characters of a read received so far, of the model's reply length (0: not known yet); shown
// at most once per screen frame.
void ShowReadProgress(Program& p, int received, int replyLength);
// The windows follow the session: progress, decoding, retries and failures.
void ListenToSession(Program& p);

}  // namespace morla
