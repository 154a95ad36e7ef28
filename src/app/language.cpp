#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace morla {

bool InstallSpanishQtTexts() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Beside the program first (an installation that carries its own), then the system's.
    const QStringList folders{QCoreApplication::applicationDirPath(),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_es"), folder)) {
            QCoreApplication::installTranslator(translator);
            QLocale::setDefault(QLocale(QLocale::Spanish));
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace morla
