#include <QApplication>

#include "app/fonts.h"
#include "app/language.h"
#include "app/startflow.h"
#include "gui/main/program.h"
#include "session/serial/serialtransport.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    morla::SubstitutePanelFont();
    morla::InstallSpanishQtTexts();
    // The program ends where its windows say so, not when a window happens to be the last.
    QApplication::setQuitOnLastWindowClosed(false);
    morla::DialogMessages messages;
    morla::SerialTransport port;
    morla::Program program(messages, port);
    program.main->resize(1000, 640);
    morla::Startup startup(program, QCoreApplication::applicationDirPath());
    startup.Start();
    return app.exec();
}
