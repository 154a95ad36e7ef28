#pragma once
// One running program: the shared state, its windows, the port and the message seam.
// Handlers of every subsystem take it; tests build a fresh one.
#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

#include "app/mainwindow.h"
#include "app/messages.h"
#include "link/transport.h"
#include "link/ui/monitorwindow.h"
#include "models/state.h"

namespace morla {

class Program : public QObject {
    Q_OBJECT
  public:
    Program(MessageSeam& messages, Transport& port, QObject* parent = nullptr);
    ~Program() override;

    MorlaState s;
    MessageSeam& msg;
    Transport& port;
    std::unique_ptr<MorForPri> main;
    std::unique_ptr<MorForMonitor> monitor;
    std::unique_ptr<FrmTodo> todo;

    // Main window load: settings, start page, port, command table.
    void Load();
    // Main window unload: port closing message, port closed.
    void Unload();

    // Windows of the menus, created on first use.
    QWidget* window(const QString& name);

    // A read is under way (the progress shows until it ends).
    bool readInProgress = false;
    void endReadProgress();

    // Bytes waiting for the receive event while it is busy (a message box inside it).
    std::deque<char> receiveQueue;
    bool inReceive = false;

  private:
    std::map<QString, QPointer<QWidget>> windows_;
};

// Reads the software settings record and applies title, retries, time-out and installation
// code. Empty or non-numeric retries or time-out are reported once, naming the file.
void LoadSoftwareSettings(Program& p);

// Installation class text of the running program (from the window title).
QString InstallationClass(const Program& p);

}  // namespace morla
