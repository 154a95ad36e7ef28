#pragma once
// The log of a series of units, "Serie.csv" in the program folder: one line per unit,
// appended to and never cleared. Written by the windows' series and by the command line alike.
#include <QString>
#include <QStringList>

namespace morla {

// One CSV line: fields separated by ";", a field holding ";", a quote or a line end put in
// quotes with its quotes doubled; no line end.
QString CsvLine(const QStringList& fields);
// Date and time, model, firmware, key, result, differences, unit, port.
QStringList SeriesLogHeader();
// The header of logs written before the unit and port columns were added.
QStringList OldSeriesLogHeader();
// The log of a series in this program folder.
QString SeriesLogIn(const QString& appFolder);
// Appends one line (and the header line first to a new file), whole or not at all. False with
// the reason on failure.
bool AppendSeriesLog(const QString& path, const QStringList& fields, QString* error);

}  // namespace morla
