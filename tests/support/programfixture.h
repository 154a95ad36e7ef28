#pragma once
// A program on a stand-in port and a fresh program folder, for tests.
#include <QTemporaryDir>
#include <memory>
#include <tuple>

#include "core/models/registry.h"
#include "gui/main/program.h"

// A table row held as one tuple column "row", its fields named in order.
#define QFETCH_ROW(Type, ...) \
    QFETCH(Type, row);        \
    auto [__VA_ARGS__] = row

namespace morla::test {

class FakeTransport : public Transport {
    Q_OBJECT
  public:
    QByteArray line;  // everything written, in order
    bool opens = true;
    int openedPort = 0;
    bool open(int portNumber, const QString&, QString* error) override {
        openedPort = portNumber;
        if (!opens && error) *error = QStringLiteral("no existe");
        open_ = opens;
        return opens;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override {
        line += bytes;
        emit written(bytes);
    }
    QString deviceName() const override { return QStringLiteral("/dev/ttyFAKE"); }
    // Device side: bytes the program receives.
    void feed(const QByteArray& bytes) {
        for (char b : bytes) emit received(b);
    }
    // Answers "T" until the program has sent the closing "P" (at most `limit` times).
    void acknowledgeAll(int limit = 400) {
        for (int i = 0; i < limit && !line.endsWith('P'); ++i) feed("T");
    }

  private:
    bool open_ = false;
};

// A model configuration record with the given key, flags, visibility and captions.
QStringList ConfigRecord(const QString& key, const QString& flags, const QString& visible,
                         const QString& captionPrefix);

struct ProgramFixture;
// The model's configuration file for `firmware`, with `key` as its default key and the
// restriction boxes shown.
void WriteModelConfig(ProgramFixture& f, const ModelInfo& m, const QString& firmware,
                      const QString& key = QStringLiteral("1234"));

struct ProgramFixture {
    QTemporaryDir dir;
    RecordedMessages msgs;
    FakeTransport port;
    std::unique_ptr<Program> p;

    // Lays out settings (retries, time-out), the command file and a Lúvero configuration.
    explicit ProgramFixture(const QString& retries = QStringLiteral("2"),
                            const QString& timeout = QStringLiteral("10"),
                            const QString& installationClass = QStringLiteral("Dravenquista"),
                            Transport* realPort = nullptr);
    void writeSettings(const QString& retries, const QString& timeout,
                       const QString& installationClass);
    void load();  // main window load
    Paths paths() const { return p->s.paths(); }
};

// A fixture whose main window has loaded.
struct LoadedProgram : ProgramFixture {
    LoadedProgram() { load(); }
};

// A Lúvero reply for the given map (positions 1-128 of the block); checksum and trailer added.
QByteArray LuveroReply(const QString& block128, bool badChecksum = false);
// A Lúvero block: firmware hex, key digits as the device keeps them, option digits 17-20.
QString LuveroBlock(const QString& firmwareHex, const QString& keyDigits,
                    const QString& optionDigits, const QString& modifier = QStringLiteral("0001"),
                    const QString& userType = QStringLiteral("09"));

// A control of the program's main window by its objectName.
template <typename W = QWidget, typename P>
W* Named(P& p, const QString& name) {
    return p.main->template findChild<W*>(name);
}

// Fires an enabled timer at once, as its interval running out would; false when it is off.
bool Fire(QTimer* timer);

}  // namespace morla::test
