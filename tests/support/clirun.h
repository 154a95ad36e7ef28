#pragma once
// morla-cli as a script runs it: a process of its own, with nothing of a display in its
// environment, in a program folder.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace morla::test {

struct CliRun {
    int exit = -1;
    QString out, err;
    QString all() const { return out + err; }
};

class Cli {
  public:
    explicit Cli(const QString& folder);
    void start(QStringList args);
    // Waits until standard error holds `text`.
    bool waitForError(const QString& text, int ms);
    // Ctrl+C.
    void interrupt();
    CliRun finish(int ms = 60000);
    CliRun run(const QStringList& args) {
        start(args);
        return finish();
    }

  private:
    QProcess proc_;
    QString folder_, err_;
};

}  // namespace morla::test
