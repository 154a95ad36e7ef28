// morla_datakit FOLDER [--force]: lays out the default data kit in a program folder.
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
    parser.process(app);

    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "morla_datakit: give exactly one program folder\n" << parser.helpText();
        return 2;
    }

    const auto result =
        morla::datakit::LayOutKit(args.first(), parser.isSet(force), morla::ShortDateText());
    for (const QString& e : result.errors) err << "morla_datakit: " << e << '\n';
    QTextStream(stdout) << "morla_datakit: " << result.written.size() << " written, "
                        << result.kept.size() << " kept in " << args.first() << '\n';
    return result.ok ? 0 : 1;
}
