#pragma once
// Modem installations: the line library, loaded from the program folder on first use, and the
// window MorForDLLModem that carries each call of its entry.
#include <QLibrary>
#include <QObject>
#include <QWidget>
#include <cstdint>

#include "session/modem.h"

namespace morla {

class Program;

// The maker's line library as this program uses it. It stays loaded once found; after a
// failure the next command tries again, so a library put in place meanwhile is taken.
class LineLibrary : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // Loads folder/DRQdll.dll and finds DRQ. On failure returns false and error says which
    // file and what is missing.
    bool ensureLoaded(const QString& folder, QString* error);
    bool loaded() const { return entry_ != nullptr; }
    // DRQ(line, text); text must stay alive for the call, which the caller's array does.
    void call(int32_t line, const QByteArray& text) const;

    DialGroups groups;  // the regrouping's texts, kept between commands

  private:
#if defined(_WIN32)
    using Entry = int32_t(__stdcall*)(int32_t, const char*);
#else
    using Entry = int32_t (*)(int32_t, const char*);
#endif
    QLibrary library_;
    Entry entry_ = nullptr;
};

// The program's line library, made on first use.
LineLibrary& LineLibraryOf(Program& p);

// Loading it calls DRQ once with the dial text; being shown (activated) unloads it again.
class MorForDLLModem : public QWidget {
    Q_OBJECT
  public:
    MorForDLLModem(Program& p, QWidget* parent);
    // The window's load: DRQ(0, dialText), or the message when the library is not usable.
    // False when nothing was handed to the library (a message says why).
    bool load(const QString& dialText);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Program& p_;
};

// Regroups text in place and hands it to the line library: one DRQ call.
bool HandToLineLibrary(Program& p, QString& text);
// TimerPID in modem mode: CommandString, regrouped in place, to the line library.
bool ModemTimerPID(Program& p);
bool IsModemMode(const Program& p);

}  // namespace morla
