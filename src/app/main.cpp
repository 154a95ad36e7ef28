#include <QApplication>
#include <QDir>

#include "context/program.h"
#include "link/serial/serialtransport.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    morla::DialogMessages messages;
    morla::SerialTransport port;
    morla::Program program(messages, port);
    morla::MorlaState& s = program.s;
    s.AppFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    // Until the login exists: engineering user, port 1, mode from the settings file.
    const morla::RecordRead settings =
        morla::ReadRecord(s.paths().softwareSettings(), morla::SoftwareSettingsRecord);
    s.ModeCode = settings.fields[26].left(2);
    s.OperatorMode = QStringLiteral("Ingenieria");
    s.ComPortNumber = 1;
    program.main->resize(1000, 640);
    program.Load();
    program.main->show();
    return app.exec();
}
