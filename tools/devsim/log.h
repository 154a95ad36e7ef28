#pragma once
// The simulator's trace: every character in and out and every message handled, each line
// with the time of day to the millisecond.
#include <QFile>
#include <QString>

namespace morla::devsim {

class Log {
  public:
    bool open(const QString& path, QString* error);
    void setVerbose(bool verbose) { verbose_ = verbose; }

    void received(const QByteArray& characters) { line(QStringLiteral("<< ") + Show(characters)); }
    void sent(const QByteArray& characters) { line(QStringLiteral(">> ") + Show(characters)); }
    void line(const QString& text);

    // Printable characters as they are, others as \xNN.
    static QString Show(const QByteArray& characters);

  private:
    QFile file_;
    bool verbose_ = false;
};

}  // namespace morla::devsim
