// morla_datakit FOLDER [--force] [--line-library FILE] [--installation-class TEXT]
//               [--pending --aux-program FILE]: lays out the default data kit in a program
// folder; --line-library copies that file there as the line library, --installation-class sets
// the class text of the software settings; with --pending the folder is left with the first-run
// installation pending, the line library laid out as its two builds instead.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "datakit/datakit.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morla_datakit"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the default data files of a MORLA program folder."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Program folder (where the morla program is)."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Rewrite every kit file, also existing ones."));
    parser.addOption(force);
    const QCommandLineOption lineLibrary(
        QStringLiteral("line-library"),
        QStringLiteral("Copy this built line library into the folder as DRQdll.dll (with "
                       "--pending: as KLMV.DLL and KLMV95.DLL in the equipment data folder)."),
        QStringLiteral("file"));
    parser.addOption(lineLibrary);
    const QCommandLineOption installationClass(
        QStringLiteral("installation-class"),
        QStringLiteral("Set the installation class text of Software.CCon (\"PC...\": modem)."),
        QStringLiteral("text"));
    parser.addOption(installationClass);
    const QCommandLineOption pending(
        QStringLiteral("pending"),
        QStringLiteral("Leave the first-run installation pending: the two line library builds "
                       "and the auxiliary program go into the equipment data folder."));
    parser.addOption(pending);
    const QCommandLineOption auxProgram(
        QStringLiteral("aux-program"),
        QStringLiteral("Built auxiliary program, copied as lnkx.exe (with --pending)."),
        QStringLiteral("file"));
    parser.addOption(auxProgram);
    parser.process(app);

    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "morla_datakit: give exactly one program folder\n" << parser.helpText();
        return 2;
    }
    if (parser.isSet(pending) && (!parser.isSet(lineLibrary) || !parser.isSet(auxProgram))) {
        err << "morla_datakit: --pending needs --line-library and --aux-program\n";
        return 2;
    }

    const QString date = morla::ShortDateText();
    morla::datakit::LayOutResult result =
        morla::datakit::LayOutKit(args.first(), parser.isSet(force), date);
    if (parser.isSet(pending)) {
        const auto laid = morla::datakit::LayOutPending(args.first(), parser.value(lineLibrary),
                                                        parser.value(auxProgram), date);
        result.ok = result.ok && laid.ok;
        result.written << laid.written;
        result.errors << laid.errors;
    }
    for (const QString& e : result.errors) err << "morla_datakit: " << e << '\n';
    QTextStream(stdout) << "morla_datakit: " << result.written.size() << " written, "
                        << result.kept.size() << " kept in " << args.first() << '\n';
    bool ok = result.ok;
    if (parser.isSet(lineLibrary) && !parser.isSet(pending)) {
        QString error;
        const QString written =
            morla::datakit::InstallLineLibrary(args.first(), parser.value(lineLibrary), &error);
        if (written.isEmpty()) {
            err << "morla_datakit: " << error << '\n';
            ok = false;
        } else {
            QTextStream(stdout) << "morla_datakit: line library " << written << '\n';
        }
    }
    if (parser.isSet(installationClass)) {
        QString error;
        if (!morla::datakit::SetInstallationClass(args.first(), parser.value(installationClass),
                                                  &error)) {
            err << "morla_datakit: " << error << '\n';
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
