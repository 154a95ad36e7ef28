#pragma once
// The software settings record as the line needs it: read retries, response time-out,
// installation code and class. Shared by the windows and the command line.
#include <QString>
#include <QStringList>

#include "core/config/recordfile.h"

namespace morla {

struct SoftwareSettings {
    QString path;
    QString installationClass;  // what follows "Morla para " in the main window's title
    QString installationCode;
    int maxReadRetries = 3;
    int timeoutSeconds = 10;
    // Why safe values stand in for the file's ("" each when the file's values were taken).
    QStringList problems;
};

// Missing file, or retries or time-out that are not whole numbers: 3 retries and 10 seconds.
SoftwareSettings ReadSoftwareSettings(const Paths& paths);

// The message that names the file and what is wrong with it; "" when nothing is.
QString SettingsProblemText(const SoftwareSettings& settings);

}  // namespace morla
