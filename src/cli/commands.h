#pragma once
// The commands of morla-cli: read, write, verify, diff, series, ports.
#include <QString>
#include <QStringList>
#include <optional>

namespace morla::cli {

struct Options {
    QString command;
    QStringList args;  // what follows the command, options aside
    QString folder;    // the program folder
    QString output;    // -o
    QStringList ports;
    QString log;
    bool json = false, quiet = false, verify = true, help = false;
};

// Nothing, with the reason, for arguments that make no command.
std::optional<Options> ParseArguments(const QStringList& arguments, QString* error);
QString Usage();

// Runs the command in the event loop; returns the exit status.
int Run(const Options& options);

// Ctrl+C: the first lets the writes under way finish, the second ends at once.
void InstallInterruptHandler();

}  // namespace morla::cli
