#pragma once
// What the command line prints: progress on standard error (one line that updates itself on a
// terminal, plain lines otherwise), results as text or one JSON object per unit on standard
// output.
#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

#include "core/models/fieldlayout.h"

namespace morla::cli {

struct UnitResult;

void PrintOut(const QString& text);
void PrintErr(const QString& text);

class Progress {
  public:
    explicit Progress(bool quiet);
    ~Progress();
    // The state of one unit, named by its port.
    void set(const QString& who, const QString& text);
    void remove(const QString& who);
    // A line of its own on standard error, above the progress line.
    void line(const QString& text);

  private:
    void paint();
    void erase();
    bool quiet_, terminal_;
    bool painted_ = false;
    QList<QPair<QString, QString>> states_;
    QHash<QString, QElapsedTimer> printed_;
    QHash<QString, QString> lastKind_;
};

// What the windows would show beside a field, for the fields the panels name the same way on
// every model; "" otherwise.
QString CaptionOf(const FieldDifference& d);
// "Clave (MorTexResCla, 11-14): A 1234, B 1334": a difference of two maps, not of a write.
QString DifferenceText(const FieldDifference& d, const QString& first, const QString& second);
QJsonArray DifferencesJson(const std::vector<FieldDifference>& differences,
                           const QString& first = QStringLiteral("written"),
                           const QString& second = QStringLiteral("read"));
// The result token of an exit status: "ok", "differs", "line", "input", "interrupted".
QString ResultToken(int exit);
QJsonObject UnitJson(const UnitResult& r);

}  // namespace morla::cli
