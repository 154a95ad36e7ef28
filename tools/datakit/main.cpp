// morla_datakit FOLDER [--force] [--pending --line-library FILE --aux-program FILE]: lays out
// the default data kit in a program folder; with --pending the folder is left with the
// first-run installation pending.
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
    const QCommandLineOption pending(
        QStringLiteral("pending"),
        QStringLiteral("Leave the first-run installation pending: the two line library builds "
                       "and the auxiliary program go into the equipment data folder."));
    parser.addOption(pending);
    const QCommandLineOption lineLibrary(QStringLiteral("line-library"),
                                         QStringLiteral("Built line library (with --pending: "
                                                        "copied as KLMV.DLL and KLMV95.DLL)."),
                                         QStringLiteral("file"));
    parser.addOption(lineLibrary);
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
    morla::datakit::LayOutResult result;
    if (parser.isSet(pending)) {
        if (parser.isSet(force)) result = morla::datakit::LayOutKit(args.first(), true, date);
        const auto laid = morla::datakit::LayOutPending(args.first(), parser.value(lineLibrary),
                                                        parser.value(auxProgram), date);
        result.ok = result.ok && laid.ok;
        result.written << laid.written;
        result.kept << laid.kept;
        result.errors << laid.errors;
    } else {
        result = morla::datakit::LayOutKit(args.first(), parser.isSet(force), date);
    }
    for (const QString& e : result.errors) err << "morla_datakit: " << e << '\n';
    QTextStream(stdout) << "morla_datakit: " << result.written.size() << " written, "
                        << result.kept.size() << " kept in " << args.first() << '\n';
    return result.ok ? 0 : 1;
}
