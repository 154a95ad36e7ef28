#include "cli/commands.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <memory>
#include <set>

#include "cli/context.h"
#include "cli/output.h"
#include "cli/unitjob.h"
#include "core/config/serieslog.h"
#include "core/fields/rules.h"
#include "core/models/imagecheck.h"
#include "core/models/registry.h"
#include "session/serial/serialtransport.h"

namespace morla::cli {

namespace {

std::atomic<int> gInterrupts{0};

extern "C" void onInterrupt(int) {
    gInterrupts.fetch_add(1);
}

struct Failure {
    int exit = kDone;
    QString message;
};

void printJson(const QJsonObject& o) {
    PrintOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}

// ---- Files ----------------------------------------------------------------------------------

// The file, parsed and checked as "Abrir configuración..." does, with the map it stands for
// and the whole write the windows would build from it.
std::optional<Plan> loadPlan(const QString& path, const Folder& folder, Failure* failure) {
    auto refuse = [&](const QString& message) {
        *failure = {kBadInput, message};
        return std::nullopt;
    };
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) return refuse(QStringLiteral("No se abrió %1: no existe.").arg(shown));
    if (!info.isFile())
        return refuse(QStringLiteral("No se abrió %1: no es un archivo.").arg(shown));
    if (info.size() > kDeviceImageMaxBytes)
        return refuse(QStringLiteral("No se abrió %1: mide %2 bytes y un archivo de configuración "
                                     "de equipo no pasa de %3 bytes.")
                          .arg(shown)
                          .arg(info.size())
                          .arg(kDeviceImageMaxBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("No se abrió %1: %2").arg(shown, file.errorString()));
    const ParsedImage parsed = ParseDeviceImage(file.read(kDeviceImageMaxBytes + 1));
    if (!parsed.image) return refuse(ImageRefusalText(path, parsed, parsed.refusal, parsed.detail));
    QString detail;
    if (const ImageRefusal r = CheckForModel(*parsed.image, &detail); r != ImageRefusal::None)
        return refuse(ImageRefusalText(path, parsed, r, detail));
    Plan plan;
    plan.image = *parsed.image;
    const ModelInfo& m = *ModelByCode(plan.image.modelCode);
    plan.map = MapOfImage(m, plan.image);
    if (m.hasBuildFrame)
        plan.write = WriteOfMap(m, plan.map, folder.settings.installationCode, folder.classCode,
                                folder.configRecord(m, FirmwareOfRead(m, plan.map)));
    return plan;
}

bool isLongReply(const ModelInfo& m) {
    return m.id == ModelId::Quarn || m.id == ModelId::Pellitor || m.id == ModelId::Kovalindre;
}

// What stops a write before anything goes out: what "&Enviar" refuses, and a field the panel
// would not keep as the file has it (the windows would change it first).
std::optional<Failure> writeRefusal(const Plan& plan) {
    const ModelInfo& m = *ModelByCode(plan.image.modelCode);
    const QString head = QStringLiteral("No se escribió: ");
    if (!plan.write) {
        QString why;
        WriteOfMap(m, plan.map, {}, {}, {}, &why);
        return Failure{kBadInput, head + why + '.'};
    }
    const WriteText& w = *plan.write;
    for (const auto& [box, text] : w.boxes) {
        const fields::BoxRule* rule = fields::FindBoxRule(box);
        if (!rule) {
            rule = fields::FindBoxRule(box.chopped(2));
            if (rule && rule->elements == 0) rule = nullptr;
        }
        if (!rule) continue;
        const bool tooLong = rule->maxLength > 0 && text.size() > rule->maxLength;
        if (tooLong || fields::Repaired(text, fields::Judge(*rule, text, {m.code()})) != text)
            return Failure{kBadInput,
                           head + QStringLiteral("el archivo tiene en %1 \"%2\", que el panel del "
                                                 "%3 no admite.")
                                      .arg(box, text, m.dispatch())};
    }
    if (!w.keyAccepted(m))
        return Failure{kBadInput, head + QStringLiteral("Error en Captura (la clave \"%1\" no "
                                                        "sirve para escribir un %2).")
                                             .arg(w.key, m.dispatch())};
    return std::nullopt;
}

// The model configuration file gives the boxes a read leaves alone.
void warnMissingConfig(const Plan& plan, const Folder& folder, Progress& progress) {
    const ModelInfo& m = *ModelByCode(plan.image.modelCode);
    if (!isLongReply(m) || folder.hasConfig(m, plan.write->firmware)) return;
    progress.line(QStringLiteral("Aviso: No existe archivo de configuración. (%1): los campos que "
                                 "una lectura no trae se escriben vacíos.")
                      .arg(QDir::toNativeSeparators(
                          folder.paths().modelConfig(m.base(), plan.write->firmware))));
}

// ---- Running units -------------------------------------------------------------------------

// Runs the jobs side by side until every one has ended. Ctrl+C: the first interrupts what
// has not started writing, the second ends at once (false then).
bool runJobs(const std::vector<UnitJob*>& jobs, Progress& progress,
             const std::function<void(UnitJob&)>& ended, const std::function<void()>& begin) {
    QEventLoop loop;
    int left = int(jobs.size());
    for (UnitJob* job : jobs) {
        const QString who = job->port().label();
        QObject::connect(job, &UnitJob::progress, &loop,
                         [&progress, who](const QString& text) { progress.set(who, text); });
        QObject::connect(job, &UnitJob::warning, &loop, [&progress, who](const QString& text) {
            progress.line(who + QStringLiteral(": ") + text);
        });
        QObject::connect(job, &UnitJob::finished, &loop, [&, job, who] {
            progress.remove(who);
            ended(*job);
            if (--left == 0) loop.quit();
        });
    }
    int seen = gInterrupts.load();
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const int now = gInterrupts.load();
        if (now == seen) return;
        seen = now;
        if (now >= 2) {
            loop.exit(1);
            return;
        }
        bool writing = false;
        for (UnitJob* job : jobs) {
            job->interrupt();
            writing = writing || job->writeUnderWay();
        }
        if (writing)
            progress.line(
                QStringLiteral("Interrumpido: se terminan las escrituras en curso "
                               "(Ctrl+C otra vez para salir ya)."));
    });
    poll.start();
    begin();
    if (left == 0) return true;
    return loop.exec() == 0;
}

// A unit's outcome as text: the result line on standard output, failures on standard error.
void report(const UnitJob& job, const Options& o) {
    const UnitResult& r = job.result();
    if (o.json) {
        printJson(UnitJson(r));
        return;
    }
    const QString who = job.port().label();
    const QString unit = r.model.isEmpty()
                             ? who
                             : QStringLiteral("%1: %2, firmware %3").arg(who, r.model, r.firmware);
    if (r.exit == kDiffers) {
        PrintOut(unit + QStringLiteral(": No verificado"));
        if (r.differences.empty()) PrintOut(QStringLiteral("  ") + r.message);
        for (const FieldDifference& d : r.differences)
            PrintOut(QStringLiteral("  ") + DifferencesText({d}));
    } else if (r.exit != kDone) {
        PrintErr(unit + QStringLiteral(": ") + r.message);
    } else if (!o.quiet) {
        PrintOut(unit + QStringLiteral(": ") + r.message);
    }
}

int worst(int a, int b) {
    if (a == kInterrupted || b == kInterrupted) return kInterrupted;
    return qMax(a, b);
}

std::optional<PortSpec> portArgument(const QString& text, Failure* failure) {
    const std::optional<PortSpec> port = PortSpec::Parse(text);
    if (!port)
        *failure = {kBadInput, QStringLiteral("\"%1\" no es un puerto: dé su número (1 es COM1) o "
                                              "la ruta del dispositivo.")
                                   .arg(text)};
    return port;
}

// ---- Commands ------------------------------------------------------------------------------

int readCommand(const Options& o, const Folder& folder) {
    Failure failure;
    const std::optional<PortSpec> port = portArgument(o.args.value(0), &failure);
    if (!port) {
        PrintErr(failure.message);
        return failure.exit;
    }
    Progress progress(o.quiet);
    UnitJob job(folder, *port);
    if (!runJobs(
            {&job}, progress, [](UnitJob&) {}, [&] { job.start(UnitJob::Task::Read); }))
        return kInterrupted;
    UnitResult r = job.result();
    if (r.exit != kDone) {
        report(job, o);
        return r.exit;
    }
    DeviceImage image;
    image.modelCode = r.modelCode;
    image.equipment = r.model;
    image.firmware = r.firmware;
    image.origin = ImageOrigin::Read;
    image.digits = r.digits;
    image.saved = ImageDate(QDateTime::currentDateTime());
    const QByteArray text = FormatDeviceImage(image);
    QString why;
    // Only what opens again is kept.
    if (CheckForModel(image, &why) != ImageRefusal::None) {
        r.exit = kLineFailed;
        r.message = QStringLiteral("La lectura no forma una configuración válida: %1.").arg(why);
    } else if (!o.output.isEmpty()) {
        QString path = o.output;
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + QLatin1String(kDeviceImageSuffix);
        const RecordWriteResult written = ReplaceFile(path, text);
        if (!written.ok) {
            r.exit = kBadInput;
            r.message = QStringLiteral("No se guardó la configuración: ") + written.error;
        } else {
            r.message =
                QStringLiteral("Configuración guardada en ") + QDir::toNativeSeparators(path);
        }
    } else if (!o.json) {
        fputs(text.constData(), stdout);
        fflush(stdout);
        if (!o.quiet)
            PrintErr(QStringLiteral("%1: %2, firmware %3: leído")
                         .arg(port->label(), r.model, r.firmware));
        return kDone;
    }
    if (o.json) {
        QJsonObject json = UnitJson(r);
        json["map"] = r.digits;
        if (!o.output.isEmpty()) json["file"] = o.output;
        printJson(json);
    } else if (r.exit != kDone) {
        PrintErr(port->label() + QStringLiteral(": ") + r.message);
    } else if (!o.quiet) {
        PrintOut(QStringLiteral("%1: %2, firmware %3: %4")
                     .arg(port->label(), r.model, r.firmware, r.message));
    }
    return r.exit;
}

// write and verify: one unit, against a file.
int unitCommand(const Options& o, const Folder& folder, bool write) {
    Failure failure;
    const std::optional<PortSpec> port = portArgument(o.args.value(0), &failure);
    std::optional<Plan> plan;
    if (port) plan = loadPlan(o.args.value(1), folder, &failure);
    std::optional<Failure> refused;
    if (plan && write) refused = writeRefusal(*plan);
    if (plan && !write && ModelByCode(plan->image.modelCode)->id == ModelId::Tervolinda &&
        plan->image.origin == ImageOrigin::Panel)
        refused = Failure{kBadInput, QStringLiteral("Un archivo guardado del panel del Tervolinda "
                                                    "no se compara con un equipo: guarde una "
                                                    "lectura.")};
    if (refused) failure = *refused;
    if (!port || !plan || refused) {
        PrintErr(failure.message);
        return failure.exit;
    }
    Progress progress(o.quiet);
    if (write) warnMissingConfig(*plan, folder, progress);
    UnitJob job(folder, *port);
    const auto task = write ? UnitJob::Task::Write : UnitJob::Task::Verify;
    if (!runJobs(
            {&job}, progress, [](UnitJob&) {},
            [&] { job.start(task, &*plan, o.verify || !write); }))
        return kInterrupted;
    report(job, o);
    return job.result().exit;
}

int seriesCommand(const Options& o, const Folder& folder) {
    Failure failure;
    std::vector<PortSpec> ports;
    std::set<QString> devices;
    for (const QString& text : o.ports) {
        const std::optional<PortSpec> port = portArgument(text, &failure);
        if (!port) {
            PrintErr(failure.message);
            return failure.exit;
        }
        if (!devices.insert(port->deviceIn(folder.path)).second) {
            PrintErr(QStringLiteral("El puerto %1 está dos veces en la lista.").arg(text));
            return kBadInput;
        }
        ports.push_back(*port);
    }
    if (ports.empty()) {
        PrintErr(QStringLiteral("Falta la lista de puertos: --ports 1,2,3"));
        return kBadInput;
    }
    std::optional<Plan> plan = loadPlan(o.args.value(0), folder, &failure);
    if (plan)
        if (const std::optional<Failure> refused = writeRefusal(*plan)) failure = *refused;
    if (!plan || failure.exit != kDone) {
        PrintErr(failure.message);
        return failure.exit;
    }
    const QString log = o.log.isEmpty() ? SeriesLogIn(folder.path) : o.log;
    Progress progress(o.quiet);
    warnMissingConfig(*plan, folder, progress);
    std::vector<std::unique_ptr<UnitJob>> jobs;
    std::vector<UnitJob*> running;
    for (const PortSpec& port : ports) {
        jobs.push_back(std::make_unique<UnitJob>(folder, port));
        running.push_back(jobs.back().get());
    }
    int status = kDone;
    int verified = 0;
    bool logFailed = false;
    std::set<const UnitJob*> logged;
    auto logUnit = [&](const UnitJob& job, const UnitResult& r) {
        const qsizetype unit =
            std::find(running.begin(), running.end(), &job) - running.begin() + 1;
        const bool ok = r.exit == kDone;
        const QString detail = ok                      ? QString()
                               : r.differences.empty() ? r.message
                                                       : DifferencesText(r.differences);
        QString error;
        if (!AppendSeriesLog(
                log,
                {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 plan->image.equipment, r.firmware, plan->write->key,
                 ok ? QStringLiteral("Correcto") : QStringLiteral("Fallo"), detail,
                 QString::number(unit), job.port().logName()},
                &error)) {
            logFailed = true;
            progress.line(QStringLiteral("No se pudo escribir el registro de la serie %1: %2")
                              .arg(QDir::toNativeSeparators(log), error));
        }
        logged.insert(&job);
    };
    const bool whole = runJobs(
        running, progress,
        [&](UnitJob& job) {
            const UnitResult& r = job.result();
            logUnit(job, r);
            report(job, o);
            status = worst(status, r.exit);
            if (r.exit == kDone) ++verified;
        },
        [&] {
            for (UnitJob* job : running) job->start(UnitJob::Task::Write, &*plan, true);
        });
    if (!whole) {
        // Ended at once: the units still under way are in the log all the same.
        for (UnitJob* job : running) {
            if (logged.count(job)) continue;
            UnitResult r = job->result();
            r.message = QStringLiteral("Interrumpido sin terminar");
            logUnit(*job, r);
        }
        status = kInterrupted;
    }
    if (!o.quiet && !o.json)
        PrintOut(QStringLiteral("Unidades: %1 (correctas: %2, con fallo: %3). Registro: %4")
                     .arg(ports.size())
                     .arg(verified)
                     .arg(qsizetype(ports.size()) - verified)
                     .arg(QDir::toNativeSeparators(log)));
    if (logFailed && status == kDone) status = kBadInput;
    return status;
}

// One side of a comparison: a file, or a unit read now.
struct Side {
    QString label;
    QString modelCode, model, firmware, map;
    std::unique_ptr<UnitJob> job;
};

int diffCommand(const Options& o, const Folder& folder) {
    Failure failure;
    Side sides[2];
    for (int k = 0; k < 2; ++k) {
        const QString arg = o.args.value(k);
        Side& side = sides[k];
        side.label = arg;
        if (QFileInfo::exists(arg) || !PortSpec::Parse(arg)) {
            const std::optional<Plan> plan = loadPlan(arg, folder, &failure);
            if (!plan) {
                PrintErr(failure.message);
                return failure.exit;
            }
            const ModelInfo& m = *ModelByCode(plan->image.modelCode);
            if (m.id == ModelId::Tervolinda && plan->image.origin == ImageOrigin::Panel) {
                PrintErr(
                    QStringLiteral("Un archivo guardado del panel del Tervolinda no se "
                                   "compara: guarde una lectura."));
                return kBadInput;
            }
            side.modelCode = m.code();
            side.model = m.dispatch();
            side.firmware = plan->image.firmware;
            side.map = plan->map;
        } else {
            side.job = std::make_unique<UnitJob>(folder, *PortSpec::Parse(arg));
            side.label = side.job->port().label();
        }
    }
    std::vector<UnitJob*> jobs;
    for (Side& side : sides)
        if (side.job) jobs.push_back(side.job.get());
    Progress progress(o.quiet);
    if (!runJobs(
            jobs, progress, [](UnitJob&) {},
            [&] {
                for (UnitJob* job : jobs) job->start(UnitJob::Task::Read);
            }))
        return kInterrupted;
    int status = kDone;
    for (Side& side : sides) {
        if (!side.job) continue;
        const UnitResult& r = side.job->result();
        if (r.exit != kDone) {
            report(*side.job, o);
            status = worst(status, r.exit);
            continue;
        }
        side.modelCode = r.modelCode;
        side.model = r.model;
        side.firmware = r.firmware;
        side.map = r.digits;
    }
    if (status != kDone) return status;

    QJsonObject json{{"a", sides[0].label}, {"b", sides[1].label}};
    if (sides[0].modelCode != sides[1].modelCode) {
        const QString text =
            QStringLiteral("Son equipos distintos: %1 es un %2 y %3 un %4.")
                .arg(sides[0].label, sides[0].model, sides[1].label, sides[1].model);
        json["result"] = ResultToken(kDiffers);
        json["message"] = text;
        if (o.json)
            printJson(json);
        else
            PrintOut(text);
        return kDiffers;
    }
    const ModelInfo& m = *ModelByCode(sides[0].modelCode);
    // Every field that differs, as the panel shows it, whether a write carries it or not; the
    // firmware first when it differs.
    std::vector<FieldDifference> differences;
    if (sides[0].firmware != sides[1].firmware)
        differences.push_back({QStringLiteral("MorTexResFirm"), QStringLiteral("3-4"),
                               sides[0].firmware, sides[1].firmware, QString()});
    const std::vector<ShownField> a = ShownFields(m, sides[0].firmware, sides[0].map);
    const std::vector<ShownField> b = ShownFields(m, sides[1].firmware, sides[1].map);
    for (const ShownField& f : a)
        for (const ShownField& g : b)
            if (f.name == g.name && f.positions == g.positions && f.text != g.text)
                differences.push_back({f.name, f.positions, f.text, g.text, QString()});
    for (FieldDifference& d : differences) d.caption = CaptionOf(d);
    const int exit = differences.empty() ? kDone : kDiffers;
    if (o.json) {
        json["model"] = m.dispatch();
        json["result"] = ResultToken(exit);
        json["exit"] = exit;
        json["differences"] =
            DifferencesJson(differences, QStringLiteral("a"), QStringLiteral("b"));
        printJson(json);
    } else if (differences.empty()) {
        if (!o.quiet) PrintOut(QStringLiteral("Iguales (%1)").arg(m.dispatch()));
    } else {
        PrintOut(QStringLiteral("Diferencias (%1), A: %2, B: %3")
                     .arg(m.dispatch(), sides[0].label, sides[1].label));
        for (const FieldDifference& d : differences)
            PrintOut(QStringLiteral("  ") +
                     DifferenceText(d, QStringLiteral("A"), QStringLiteral("B")));
    }
    return exit;
}

int portsCommand(const Options& o, const Folder& folder) {
    // The five numbers of "Puerto Serie", and any further COMn the program folder links.
    std::set<int> numbers{1, 2, 3, 4, 5};
    for (const QFileInfo& link :
         QDir(folder.path).entryInfoList({QStringLiteral("COM*")}, QDir::System | QDir::Files))
        if (const auto p = PortSpec::Parse(link.fileName()); p && p->number > 0)
            numbers.insert(p->number);
    if (!o.json) PrintOut(QStringLiteral("Dispositivo de cada número:"));
    for (int n : numbers) {
        const QString device = SerialDeviceFor(n, folder.path);
        const bool present = SerialDevicePresent(device);
        if (o.json)
            printJson({{"port", n}, {"device", device}, {"present", present}});
        else
            PrintOut(QStringLiteral("  %1: %2 (%3)")
                         .arg(n)
                         .arg(QDir::toNativeSeparators(device),
                              present ? QStringLiteral("existe") : QStringLiteral("no existe")));
    }
    return kDone;
}

struct CommandShape {
    const char* name;
    int args;             // positional arguments after the command
    const char* options;  // options it takes besides --folder, --json, --quiet
};
constexpr CommandShape kCommands[] = {
    {"read", 1, "-o"}, {"write", 2, "--no-verify"},    {"verify", 2, ""},
    {"diff", 2, ""},   {"series", 1, "--ports --log"}, {"ports", 0, ""},
};

}  // namespace

QString Usage() {
    return QStringLiteral(
        "Uso: morla-cli ORDEN ... [--folder CARPETA] [--json] [--quiet]\n"
        "\n"
        "  read   PUERTO [-o ARCHIVO.mcfg]          lee un equipo; el modelo sale de su respuesta\n"
        "  write  PUERTO ARCHIVO.mcfg [--no-verify] escribe una configuración guardada, la lee\n"
        "                                           de nuevo y la compara\n"
        "  verify PUERTO ARCHIVO.mcfg               lee y compara, sin escribir\n"
        "  diff   A B                               A y B: archivos .mcfg o puertos; diferencias\n"
        "                                           campo por campo\n"
        "  series ARCHIVO.mcfg --ports P1,P2,... [--log ARCHIVO.csv]\n"
        "                                           escribe y verifica la unidad de cada puerto,\n"
        "                                           todas a la vez; el registro se amplía\n"
        "  ports                                    los números de puerto y sus dispositivos\n"
        "\n"
        "PUERTO: el número que usa el programa (1 es COM1 de la carpeta del programa) o la ruta\n"
        "del dispositivo (/dev/ttyUSB0). --folder: la carpeta del programa (la del ejecutable si\n"
        "no se da). --json: un objeto JSON por unidad en la salida estándar. --quiet: sin avance\n"
        "ni resultados correctos.\n"
        "\n"
        "Estado de salida: 0 hecho y verificado; 1 hay diferencias; 2 falló la línea (sin\n"
        "respuesta, respuesta dañada, puerto inexistente u ocupado); 3 entrada inválida (archivo\n"
        "dañado o ilegible, modelo desconocido, argumentos); 130 interrumpido con Ctrl+C.\n");
}

std::optional<Options> ParseArguments(const QStringList& arguments, QString* error) {
    Options o;
    QStringList given;  // options as written, to check them against the command
    auto fail = [error](const QString& why) {
        *error = why;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString a = arguments[i];
        QString value;
        bool hasValue = false;
        if (a.startsWith(QStringLiteral("--")) && a.contains(u'=')) {
            value = a.section(u'=', 1);
            a = a.section(u'=', 0, 0);
            hasValue = true;
        }
        auto take = [&](QString* into) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) return false;
                value = arguments[++i];
            }
            *into = value;
            return true;
        };
        if (a == QStringLiteral("-h") || a == QStringLiteral("--help")) {
            o.help = true;
        } else if (a == QStringLiteral("--json")) {
            o.json = true;
        } else if (a == QStringLiteral("--quiet") || a == QStringLiteral("-q")) {
            o.quiet = true;
        } else if (a == QStringLiteral("--no-verify")) {
            o.verify = false;
            given << a;
        } else if (a == QStringLiteral("--folder")) {
            if (!take(&o.folder)) return fail(QStringLiteral("Falta la carpeta tras --folder."));
        } else if (a == QStringLiteral("-o") || a == QStringLiteral("--output")) {
            if (!take(&o.output)) return fail(QStringLiteral("Falta el archivo tras -o."));
            given << QStringLiteral("-o");
        } else if (a == QStringLiteral("--ports")) {
            QString list;
            if (!take(&list)) return fail(QStringLiteral("Falta la lista tras --ports."));
            for (const QString& p : list.split(u',', Qt::SkipEmptyParts)) o.ports << p.trimmed();
            given << a;
        } else if (a == QStringLiteral("--log")) {
            if (!take(&o.log)) return fail(QStringLiteral("Falta el archivo tras --log."));
            given << a;
        } else if (a == QStringLiteral("--baud")) {
            return fail(
                QStringLiteral("La velocidad no se elige: el equipo trabaja siempre a "
                               "9600 bits por segundo."));
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return fail(QStringLiteral("Opción desconocida: %1").arg(a));
        } else if (o.command.isEmpty()) {
            o.command = a;
        } else {
            o.args << a;
        }
    }
    if (o.help) return o;
    if (o.command.isEmpty()) return fail(QStringLiteral("Falta la orden."));
    for (const CommandShape& c : kCommands) {
        if (o.command != QLatin1String(c.name)) continue;
        if (o.args.size() != c.args)
            return fail(QStringLiteral("%1 lleva %2 argumento(s) y se dieron %3.")
                            .arg(o.command)
                            .arg(c.args)
                            .arg(o.args.size()));
        const QStringList allowed = QString::fromLatin1(c.options).split(u' ', Qt::SkipEmptyParts);
        for (const QString& opt : given)
            if (!allowed.contains(opt))
                return fail(QStringLiteral("La opción %1 no es de %2.").arg(opt, o.command));
        return o;
    }
    return fail(QStringLiteral("Orden desconocida: %1").arg(o.command));
}

int Run(const Options& o) {
    const QString folderPath =
        o.folder.isEmpty() ? QCoreApplication::applicationDirPath() : o.folder;
    if (!QFileInfo(folderPath).isDir()) {
        PrintErr(QStringLiteral("La carpeta del programa %1 no existe.")
                     .arg(QDir::toNativeSeparators(folderPath)));
        return kBadInput;
    }
    const Folder folder = Folder::Load(folderPath);
    if (o.command == QStringLiteral("ports")) return portsCommand(o, folder);
    if (o.command == QStringLiteral("diff")) return diffCommand(o, folder);
    // What the line and the write take from the settings: said once, before anything goes.
    for (const QString& problem : {SettingsProblemText(folder.settings), folder.commandsProblem})
        if (!problem.isEmpty()) PrintErr(QStringLiteral("Aviso: ") + problem);
    if (o.command == QStringLiteral("read")) return readCommand(o, folder);
    if (o.command == QStringLiteral("write")) return unitCommand(o, folder, true);
    if (o.command == QStringLiteral("verify")) return unitCommand(o, folder, false);
    if (o.command == QStringLiteral("series")) return seriesCommand(o, folder);
    return kBadInput;
}

void InstallInterruptHandler() {
    std::signal(SIGINT, onInterrupt);
#ifdef SIGTERM
    std::signal(SIGTERM, onInterrupt);
#endif
}

}  // namespace morla::cli
