#pragma once
// The log of a series of units, "Serie.csv": one line per unit, appended to and never
// cleared. Written by the windows' series and by the command line alike.
#include <QString>
#include <QStringList>

namespace morla::series {

// Fields joined with ";"; a field with ";", a quote or a line end in double quotes.
QString CsvLine(const QStringList& fields);
// Date and time, model, firmware, key, result, differences, unit, port.
QStringList Header();
// The log of a series in the program folder.
QString LogPathIn(const QString& appFolder);
// Appends one line (the header line first to a new file). False with a reason on failure.
bool Append(const QString& path, const QStringList& fields, QString* error);

}  // namespace morla::series
