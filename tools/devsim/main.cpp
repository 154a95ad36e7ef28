// morla_devsim: a MORLA device on a pseudo-terminal, for tests and for training.
#include <fcntl.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>

#include "core/codec/codec.h"
#include "devsim/device.h"
#include "devsim/faults.h"
#include "devsim/image.h"
#include "devsim/log.h"
#include "devsim/models/behaviour.h"
#include "devsim/pacer.h"
#include "devsim/pty.h"

using namespace morla;
using namespace morla::devsim;

namespace {
int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gSignalPipe[1], &c, 1);
}

bool installSignals() {
    if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    std::signal(SIGPIPE, SIG_IGN);
    return sigaction(SIGTERM, &sa, nullptr) == 0 && sigaction(SIGINT, &sa, nullptr) == 0;
}

int fail(const QString& message) {
    fprintf(stderr, "morla_devsim: %s\n", qPrintable(message));
    return 2;
}
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morla_devsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A MORLA device on a pseudo-terminal. Prints the port path first."));
    parser.addHelpOption();
    const QCommandLineOption modelOpt(
        QStringLiteral("model"), QStringLiteral("Model: %1.").arg(ModelOptionNames().join(", ")),
        QStringLiteral("name"), QStringLiteral("luvero"));
    const QCommandLineOption firmwareOpt(QStringLiteral("firmware"),
                                         QStringLiteral("Firmware code, decimal."),
                                         QStringLiteral("code"));
    const QCommandLineOption keyOpt(QStringLiteral("key"), QStringLiteral("Device key."),
                                    QStringLiteral("digits"));
    const QCommandLineOption optionsOpt(QStringLiteral("options"),
                                        QStringLiteral("Option bits, option 1 first."),
                                        QStringLiteral("bits"));
    const QCommandLineOption memoryOpt(
        QStringLiteral("memory"),
        QStringLiteral("Memory file: loaded at start if it exists, saved at the end."),
        QStringLiteral("file"));
    const QCommandLineOption saveOpt(QStringLiteral("save"),
                                     QStringLiteral("Save the memory here at the end instead."),
                                     QStringLiteral("file"));
    const QCommandLineOption linkOpt(QStringLiteral("link"),
                                     QStringLiteral("Program folder that gets a COM<port> link."),
                                     QStringLiteral("folder"));
    const QCommandLineOption portOpt(QStringLiteral("port"),
                                     QStringLiteral("Port number of the link (default 1)."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption logOpt(QStringLiteral("log"),
                                    QStringLiteral("Trace of the line, appended to this file."),
                                    QStringLiteral("file"));
    const QCommandLineOption verboseOpt(QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
                                        QStringLiteral("Trace to stderr too."));
    const QCommandLineOption faultOpt(
        QStringLiteral("fault"),
        QStringLiteral("drop:N, corrupt:N, delay:MS, badsum:N, silent or cut:N; repeatable."),
        QStringLiteral("fault"));
    const QCommandLineOption stdinQuitOpt(QStringLiteral("stdin-quit"),
                                          QStringLiteral("Stop when standard input ends."));
    parser.addOptions({modelOpt, firmwareOpt, keyOpt, optionsOpt, memoryOpt, saveOpt, linkOpt,
                       portOpt, logOpt, verboseOpt, faultOpt, stdinQuitOpt});
    parser.process(app);

    const ModelInfo* model = ModelByOptionName(parser.value(modelOpt));
    if (!model) return fail(QStringLiteral("unknown model %1").arg(parser.value(modelOpt)));
    const QString firmware =
        parser.isSet(firmwareOpt) ? parser.value(firmwareOpt) : model->firmware();
    if (!IsWholeNumber(firmware) || ValOf(firmware) < 0 || ValOf(firmware) > 255)
        return fail(QStringLiteral("firmware %1 is not a number from 0 to 255").arg(firmware));

    Faults faults;
    QString error;
    for (const QString& text : parser.values(faultOpt))
        if (!AddFault(text, &faults, &error)) return fail(error);

    Log log;
    log.setVerbose(parser.isSet(verboseOpt));
    if (parser.isSet(logOpt) && !log.open(parser.value(logOpt), &error)) return fail(error);

    const MemoryImage factory = FactoryImage(*model, firmware);
    MemoryImage memory = factory;
    const QString memoryFile = parser.value(memoryOpt);
    if (!memoryFile.isEmpty() && QFileInfo::exists(memoryFile)) {
        QString digits;
        if (!LoadImage(memoryFile, *model, &digits, &error)) return fail(error);
        memory = MemoryImage(*model, digits);
        log.line(QStringLiteral("memory loaded from %1").arg(memoryFile));
    }
    if (parser.isSet(keyOpt) || parser.isSet(optionsOpt)) {
        const auto setUp = BehaviourOf(model->id).setUp;
        if (!setUp)
            return fail(QStringLiteral("--key and --options are not simulated for %1 yet")
                            .arg(model->base()));
        const Result r = setUp(memory, parser.value(keyOpt), parser.value(optionsOpt));
        if (r.outcome != Outcome::Applied) return fail(r.detail);
        log.line(QStringLiteral("set up: ") + r.detail);
    }
    const QString saveFile = parser.isSet(saveOpt) ? parser.value(saveOpt) : memoryFile;

    if (!installSignals()) return fail(QStringLiteral("cannot install signal handlers"));
    Pty pty;
    if (!pty.open(&error)) return fail(error);

    QString linkPath;
    if (parser.isSet(linkOpt)) {
        bool ok = false;
        const int port = parser.value(portOpt).toInt(&ok);
        if (!ok || port < 1) return fail(QStringLiteral("--port wants a number from 1"));
        if (!LinkPort(parser.value(linkOpt), port, pty.slavePath(), &linkPath, &error))
            return fail(error);
    }

    // The first line of stdout is the port, for whoever started us.
    printf("%s\n", qPrintable(pty.slavePath()));
    fflush(stdout);
    fprintf(stderr, "morla_devsim: %s firmware %s on %s%s\n", qPrintable(model->dispatch()),
            qPrintable(firmware), qPrintable(pty.slavePath()),
            linkPath.isEmpty() ? "" : qPrintable(QStringLiteral(" (%1)").arg(linkPath)));
    log.line(
        QStringLiteral("%1 firmware %2 on %3").arg(model->dispatch(), firmware, pty.slavePath()));

    Device device(memory, factory, faults);
    Pacer pacer(
        [&](const QByteArray& bytes) {
            const qsizetype n = pty.write(bytes);
            log.sent(bytes.left(n));
            if (n < bytes.size())
                log.line(QStringLiteral("%1 characters lost: nobody reads the port")
                             .arg(bytes.size() - n));
        },
        kCharacterNs + qint64(faults.delayMs) * 1000000);
    QObject::connect(&device, &Device::send, &pacer, &Pacer::enqueue);
    QObject::connect(&device, &Device::note, &app, [&](const QString& line) { log.line(line); });

    QSocketNotifier lineIn(pty.masterFd(), QSocketNotifier::Read);
    QObject::connect(&lineIn, &QSocketNotifier::activated, &app, [&] {
        const QByteArray bytes = pty.read();
        if (bytes.isEmpty()) return;
        log.received(bytes);
        device.receive(bytes);
    });

    QSocketNotifier signalIn(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalIn, &QSocketNotifier::activated, &app, [&] {
        char drain[16];
        while (::read(gSignalPipe[0], drain, sizeof drain) > 0) {
        }
        log.line(QStringLiteral("signal: stopping"));
        QCoreApplication::quit();
    });

    std::unique_ptr<QSocketNotifier> stdinIn;
    if (parser.isSet(stdinQuitOpt)) {
        stdinIn = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(stdinIn.get(), &QSocketNotifier::activated, &app, [&] {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n > 0 || (n < 0 && errno == EINTR)) return;
            stdinIn->setEnabled(false);
            log.line(QStringLiteral("standard input ended: stopping"));
            QCoreApplication::quit();
        });
    }

    app.exec();

    int status = 0;
    if (!saveFile.isEmpty()) {
        if (SaveImage(saveFile, device.memory(), &error)) {
            log.line(QStringLiteral("memory saved to %1").arg(saveFile));
        } else {
            log.line(error);
            fprintf(stderr, "morla_devsim: %s\n", qPrintable(error));
            status = 1;
        }
    }
    if (!linkPath.isEmpty()) UnlinkPort(linkPath, pty.slavePath());
    return status;
}
