#pragma once
// One running program: the shared state, its windows, the port and the message seam.
// Handlers of every subsystem take it; tests build a fresh one.
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

#include "core/models/state.h"
#include "gui/main/mainwindow.h"
#include "gui/main/messages.h"
#include "gui/main/monitorwindow.h"
#include "session/linesession.h"
#include "session/portaccess.h"
#include "session/transport.h"

namespace morla {

class ShownBatch;

class Program : public QObject {
    Q_OBJECT
  public:
    Program(MessageSeam& messages, Transport& port, QObject* parent = nullptr);
    ~Program() override;

    MorlaState s;
    MessageSeam& msg;
    Transport& port;
    PortAccess portAccess{port};
    std::unique_ptr<MorForPri> main;
    std::unique_ptr<MorForMonitor> monitor;
    std::unique_ptr<FrmTodo> todo;
    // The line: framing, replies, retries and the two timers (the main window's).
    std::unique_ptr<LineSession> line;

    // Main window load: settings, start page, port, command table.
    void Load();
    // Main window unload: port closing message, port closed.
    void Unload();

    // Windows of the menus, created on first use. A window closed for good is built anew, with
    // its load, on the next use; a name with no builder gets an empty window with its title.
    QWidget* window(const QString& name);
    using WindowBuilder = std::function<QWidget*(Program&)>;
    void registerWindow(const QString& name, const QString& title, WindowBuilder build = {});

    // What the message going out now is, for the status once it is out ("" for none).
    QString outgoingNote;
    QString outgoingDetail;  // shown after the time

    // The read's progress as last reported, shown once per screen frame.
    QTimer* progressFrame = nullptr;
    int progressReceived = 0, progressLength = 0;

    // The panel procedures' visibility changes not given to the widgets yet (see ShownBatch).
    ShownBatch* shownBatch = nullptr;

  signals:
    // A send was stopped while it waited.
    void sendCancelled();

  private:
    std::map<QString, QPointer<QWidget>> windows_;
    struct WindowKind {
        QString title;
        WindowBuilder build;
    };
    std::map<QString, WindowKind> windowKinds_;
};

// Reads the software settings record and applies title, retries, time-out and installation
// code. Empty or non-numeric retries or time-out are reported once, naming the file.
void LoadSoftwareSettings(Program& p);

// Installation class text of the running program (from the window title).
QString InstallationClass(const Program& p);

}  // namespace morla
