#include "app/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace morla {

QString SubstitutePanelFont() {
    const QString written = QStringLiteral("Comic Sans MS");
    const QStringList families = QFontDatabase::families();
    if (families.contains(written, Qt::CaseInsensitive)) return {};
    const QString lookAlike = QStringLiteral("Comic Neue");
    const QString standIn = families.contains(lookAlike, Qt::CaseInsensitive)
                                ? lookAlike
                                : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont::removeSubstitutions(written);
    QFont::insertSubstitution(written, standIn);
    return standIn;
}

}  // namespace morla
