// morla-cli: the device programmer without windows. Reads, writes and verifies units from a
// script, on several serial ports at once, with an exit status a script can trust.
#include <QCoreApplication>

#include "cli/commands.h"
#include "cli/context.h"
#include "cli/output.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    using namespace morla::cli;
    QString error;
    const std::optional<Options> options = ParseArguments(app.arguments().mid(1), &error);
    if (!options) {
        PrintErr(error);
        PrintErr(QStringLiteral("\n") + Usage());
        return kBadInput;
    }
    if (options->help) {
        PrintOut(Usage());
        return kDone;
    }
    InstallInterruptHandler();
    return Run(*options);
}
