#pragma once
// The simulated serial port: a pseudo-terminal whose slave end the program opens as its
// port. We keep a slave descriptor of our own open so that the master never reads EIO or a
// hang-up when the program closes its port and opens it again.
#include <QByteArray>
#include <QString>

namespace morla::devsim {

class Pty {
  public:
    Pty() = default;
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    ~Pty();

    bool open(QString* error);
    int masterFd() const { return master_; }
    const QString& slavePath() const { return slavePath_; }

    // What has arrived, empty when nothing has.
    QByteArray read();
    // Writes all of it unless the other side has stopped reading for kilobytes; returns the
    // number of bytes written.
    qsizetype write(const QByteArray& bytes);

  private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

// Points <folder>/COM<port> at the pty's slave, replacing whatever had that name.
bool LinkPort(const QString& folder, int port, const QString& slavePath, QString* linkPath,
              QString* error);
// Removes the link only while it still points at our slave: another simulator may own it now.
void UnlinkPort(const QString& linkPath, const QString& slavePath);

}  // namespace morla::devsim
