#include "datakit/datakit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QPainterPath>

#include "core/config/installation.h"
#include "session/modem.h"

namespace morla::datakit {

namespace {

constexpr int kParameters = 20;
constexpr int kRestrictors = 9;

// What one model configuration file says, before it is laid out as its 57 fields.
struct Design {
    QString fileBase;
    QString firmware;
    QString identification;
    QString key;
    QMap<int, QString> captions;  // parameter number 1..20 -> caption
    QMap<int, QString> defaults;  // parameter number 1..20 -> default value
    QStringList restrictionCaptions;
    QString restrictionVisible;
    QString restrictionDefaults = QStringLiteral("000000000");
};

Design design(const QString& fileBase, const QString& firmware, const QString& identification,
              const QString& key) {
    Design d;
    d.fileBase = fileBase;
    d.firmware = firmware;
    d.identification = identification;
    d.key = key;
    return d;
}

QString designCaption(int box) {
    return QStringLiteral("Restrictor%1").arg(box, 2, 10, QChar('0'));
}

// Captions of the restriction boxes a model uses; boxes it leaves hidden keep their design
// caption, so the editor still names every box.
QStringList restrictionCaptions(const QMap<int, QString>& used, int boxes) {
    QStringList out;
    for (int box = 1; box <= boxes; ++box) out << used.value(box, designCaption(box));
    return out;
}

const QString kDurProhibited = QStringLiteral("Tiempo de duración para llamadas prohibidas");
const QString kDurFree = QStringLiteral("Tiempo de duración para llamadas libres");
const QString kTrunkDigits =
    QStringLiteral("Dígitos para toma de troncal en extensión de conmutador");
const QString kTrunk = QStringLiteral("Troncal de conmutador");

// Restriction options of the call restrictors; the devices give them no fixed meaning, so
// these are the kit's own names for the six boxes.
QMap<int, QString> restrictorNames() {
    return {{1, QStringLiteral("Restringir llamadas locales")},
            {2, QStringLiteral("Restringir celulares")},
            {3, QStringLiteral("Restringir larga distancia nacional")},
            {4, QStringLiteral("Restringir larga distancia internacional")},
            {5, QStringLiteral("Restringir números 900")},
            {6, QStringLiteral("Restringir llamadas a operadora")}};
}

QList<Design> designs() {
    QList<Design> out;
    const QMap<int, QString> names = restrictorNames();

    {  // Alerting unit: options ride on boxes 1, 4 and 7 only.
        Design d = design(QStringLiteral("Sorvanell"), QStringLiteral("12"),
                          QStringLiteral("Fábrica"), QStringLiteral("12*34"));
        d.captions = {{1, QStringLiteral("Número de programación")},
                      {2, QStringLiteral("Dígito de alerta")},
                      {3, QStringLiteral("Tono de aviso")},
                      {4, QStringLiteral("Bloqueo de grabación")}};
        d.defaults = {{1, QStringLiteral("11*22")},
                      {2, QStringLiteral("5")},
                      {3, QStringLiteral("0")},
                      {4, QStringLiteral("0")}};
        d.restrictionCaptions = restrictionCaptions({{1, QStringLiteral("Aviso de intervención")},
                                                     {4, QStringLiteral("Alerta sonora")},
                                                     {7, QStringLiteral("Alerta permanente")}},
                                                    9);
        d.restrictionVisible = QStringLiteral("100100100");
        out << d;
    }
    {  // The simplest restrictor: key and six options, no parameters.
        Design d = design(QStringLiteral("Luvero"), QStringLiteral("30"), QStringLiteral("Fábrica"),
                          QStringLiteral("1234"));
        d.restrictionCaptions = restrictionCaptions(names, 6);
        d.restrictionVisible = QStringLiteral("111111000");
        out << d;
    }
    {  // Flags text has four characters; the fourth is the memory-table release, and box 5
       // is carried nowhere in the device block.
        Design d = design(QStringLiteral("Zentavira"), QStringLiteral("30"),
                          QStringLiteral("Fábrica"), QStringLiteral("1234"));
        d.captions = {{1, kDurProhibited},
                      {2, kDurFree},
                      {3, kTrunkDigits},
                      {4, QStringLiteral("Liberar la tabla de memorias de números telfónicos")},
                      {6, QStringLiteral("Memorias de 4 dígitos")},
                      {7, QStringLiteral("Memorias de 16 dígitos")}};
        d.defaults = {{1, QStringLiteral("010")},
                      {2, QStringLiteral("180")},
                      {3, QStringLiteral("9")},
                      {4, QStringLiteral("0")}};
        QMap<int, QString> used = names;
        used[4] = QStringLiteral("Liberar tabla de memorias");
        used.remove(5);
        d.restrictionCaptions = restrictionCaptions(used, 6);
        d.restrictionVisible = QStringLiteral("111101000");
        out << d;
    }
    {  // Prefix and long-distance boxes take most of the record: short restriction names.
        Design d = design(QStringLiteral("Haldrivonexa"), QStringLiteral("30"),
                          QStringLiteral("Fábrica"), QStringLiteral("1234"));
        d.captions = {{1, kDurProhibited}, {2, kDurFree}, {3, kTrunkDigits}};
        const QStringList prefixes{"090", "08X", "07X", "06X", "050", "040", "030", "020", "031"};
        for (int i = 0; i < prefixes.size(); ++i)
            d.captions[4 + i] = QStringLiteral("Números que inicien en ") + prefixes[i];
        const QStringList services{QStringLiteral("01 Lada telefóno a telefóno"),
                                   QStringLiteral("02 Lada por cobrar"),
                                   QStringLiteral("01800 Llamadas por cobrar sistema 800"),
                                   QStringLiteral("001 Larga distancia a CANADA y EUA"),
                                   QStringLiteral("00 Larga distancia mundial"),
                                   QStringLiteral("09 Mundial por cobrar")};
        for (int i = 0; i < services.size(); ++i) d.captions[13 + i] = services[i];
        d.defaults = {
            {1, QStringLiteral("010")}, {2, QStringLiteral("180")}, {3, QStringLiteral("9")}};
        for (int p = 4; p <= 18; ++p) d.defaults[p] = QStringLiteral("0");
        d.restrictionCaptions = restrictionCaptions({{1, QStringLiteral("Locales")},
                                                     {2, QStringLiteral("Celulares")},
                                                     {3, QStringLiteral("Servicios 900")},
                                                     {4, QStringLiteral("Operadora")},
                                                     {5, QStringLiteral("Internacional")},
                                                     {6, QStringLiteral("Cobro revertido")}},
                                                    6);
        d.restrictionVisible = QStringLiteral("111111000");
        out << d;
    }
    // Quarn, Pellitor and Kovalindres carry no bit for option 2: its box stays hidden.
    QMap<int, QString> noOption2 = names;
    noOption2.remove(2);
    for (const auto& [firmware, identification] :
         {std::pair{QStringLiteral("30"), QStringLiteral("Fábrica")},
          std::pair{QStringLiteral("8"), QStringLiteral("Fábrica Dolmeth")}}) {
        Design d =
            design(QStringLiteral("Quarn"), firmware, identification, QStringLiteral("12345"));
        d.captions = {{1, kTrunk},
                      {4, kDurProhibited},
                      {6, QStringLiteral("Números de teléfono")},
                      {7, kDurFree}};
        d.defaults = {
            {1, QStringLiteral("0")}, {4, QStringLiteral("010")}, {7, QStringLiteral("180")}};
        d.restrictionCaptions = restrictionCaptions(noOption2, 6);
        d.restrictionVisible = QStringLiteral("101111000");
        out << d;
    }
    {
        Design d = design(QStringLiteral("Pellitor"), QStringLiteral("15"),
                          QStringLiteral("Fábrica"), QStringLiteral("12345"));
        d.captions = {{1, kTrunk},
                      {2, QStringLiteral("Dígitos para llamada local")},
                      {3, QStringLiteral("Número de llamadas permitidas")},
                      {4, QStringLiteral("Número de llamadas permitidas")},
                      {5, QStringLiteral("Tiempo de duración")},
                      {6, QStringLiteral("Tiempo de duración")},
                      {7, QStringLiteral("Contador")},
                      {8, QStringLiteral("Contador")}};
        d.defaults = {{1, QStringLiteral("0")},   {2, QStringLiteral("7")},
                      {3, QStringLiteral("050")}, {4, QStringLiteral("010")},
                      {5, QStringLiteral("180")}, {6, QStringLiteral("060")},
                      {7, QStringLiteral("000")}, {8, QStringLiteral("000")}};
        d.restrictionCaptions = restrictionCaptions(noOption2, 6);
        d.restrictionVisible = QStringLiteral("101111000");
        out << d;
    }
    // The Tervolinda's options are on its own panel; the restriction boxes carry nothing.
    // A voice device reports firmware "02" and the voice button asks for "2": both get a file.
    for (const auto& [firmware, identification] :
         {std::pair{QStringLiteral("72"), QStringLiteral("Fábrica")},
          std::pair{QStringLiteral("2"), QStringLiteral("Fábrica Con Voz")},
          std::pair{QStringLiteral("02"), QStringLiteral("Fábrica Con Voz 02")}}) {
        Design d =
            design(QStringLiteral("Tervolinda"), firmware, identification, QStringLiteral("1234"));
        if (firmware == QStringLiteral("72")) {
            d.captions = {{1, QStringLiteral("Elimina el primer 1 marcado en el sistema")},
                          {2, QStringLiteral("Clave de Salida")},
                          {3, QStringLiteral("Bloquea números que inicien en 9")}};
            d.defaults = {
                {1, QStringLiteral("0")}, {2, QStringLiteral("5678")}, {3, QStringLiteral("0")}};
        }
        d.restrictionCaptions = restrictionCaptions({}, 6);
        d.restrictionVisible = QStringLiteral("000000000");
        out << d;
    }
    {
        Design d = design(QStringLiteral("Kovalindres"), QStringLiteral("30"),
                          QStringLiteral("Fábrica"), QStringLiteral("12345"));
        d.captions = {
            {1, kTrunk}, {4, kDurProhibited}, {7, kDurFree}, {8, QStringLiteral("Contador")}};
        d.defaults = {{1, QStringLiteral("0")},
                      {4, QStringLiteral("010")},
                      {7, QStringLiteral("180")},
                      {8, QStringLiteral("000")}};
        d.restrictionCaptions = restrictionCaptions(noOption2, 6);
        d.restrictionVisible = QStringLiteral("101111000");
        out << d;
    }
    return out;
}

QStringList configFields(const Design& d, const QString& date) {
    QStringList f;
    QString parameterVisible;
    for (int p = 1; p <= kParameters; ++p) {
        f << d.captions.value(p);
        parameterVisible += d.captions.contains(p) || d.defaults.contains(p) ? '1' : '0';
    }
    for (int p = 1; p <= kParameters; ++p) f << d.defaults.value(p);
    f << d.restrictionVisible << d.fileBase << d.identification << d.key << d.firmware;
    for (int box = 0; box < kRestrictors; ++box) f << d.restrictionCaptions.value(box);
    f << parameterVisible << d.restrictionDefaults << date;
    return f;
}

QString equipmentFolderPart(int i) {
    static const QStringList parts{QStringLiteral("Utilerias"), QStringLiteral("Generales"),
                                   QStringLiteral("Equipos")};
    return parts[i];
}

QStringList inEquipmentFolder(const QString& name) {
    return {equipmentFolderPart(0), equipmentFolderPart(1), equipmentFolderPart(2), name};
}

QString joinAll(const QString& base, const QStringList& parts) {
    QString path = base;
    for (const QString& p : parts) path = JoinPath(path, p);
    return path;
}

// Writes all records into a fresh file beside the target, then puts it in the target's place,
// so a forced rewrite leaves no records of an older, longer file behind.
bool writeWhole(const QString& target, const KitFile& file, QString* error) {
    const QString fresh = target + QStringLiteral(".kit-new");
    QFile::remove(fresh);
    for (int n = 0; n < file.records.size(); ++n) {
        const RecordWriteResult r = WriteRecord(fresh, file.type, file.records[n], n + 1);
        if (!r.ok) {
            *error = r.error;
            QFile::remove(fresh);
            return false;
        }
    }
    const QString existing = ResolvePath(target);
    if (QFileInfo(existing).isFile() && !QFile::remove(existing)) {
        *error = QStringLiteral("No se puede reemplazar %1").arg(existing);
        QFile::remove(fresh);
        return false;
    }
    if (!QFile::rename(fresh, target)) {
        *error = QStringLiteral("No se puede escribir %1").arg(target);
        QFile::remove(fresh);
        return false;
    }
    return true;
}

// A path of strokes for one letter in a 4 x 6 box (y grows downwards).
QPainterPath letter(QChar c) {
    QPainterPath p;
    auto poly = [&p](std::initializer_list<QPointF> points) {
        auto it = points.begin();
        p.moveTo(*it);
        for (++it; it != points.end(); ++it) p.lineTo(*it);
    };
    switch (c.unicode()) {
        case 'M':
            poly({{0, 6}, {0, 0}, {2, 3.5}, {4, 0}, {4, 6}});
            break;
        case 'O':
            p.addEllipse(QRectF(0, 0, 4, 6));
            break;
        case 'R':
            poly({{0, 6}, {0, 0}, {2.8, 0}, {4, 0.9}, {4, 2.1}, {2.8, 3}, {0, 3}});
            poly({{2, 3}, {4, 6}});
            break;
        case 'L':
            poly({{0, 0}, {0, 6}, {4, 6}});
            break;
        case 'A':
            poly({{0, 6}, {2, 0}, {4, 6}});
            poly({{0.8, 3.8}, {3.2, 3.8}});
            break;
        default:
            break;
    }
    return p;
}

}  // namespace

QStringList SelectorEquipmentNames() {
    return SelectorEquipment();
}

QStringList SoftwareSettingsFields(const QString& date) {
    QStringList f;
    for (int i = 1; i <= 21; ++i) f << QString();
    f << QStringLiteral("-1") << date << QStringLiteral("3") << QStringLiteral("10")
      << QString::fromUtf16(kInstallationCode) << QString::fromUtf16(kInstallationClass);
    return f;
}

QList<QStringList> CommandRecords(const QString& date) {
    return {{QStringLiteral("Lectura"), QStringLiteral("*40"), date},
            {QStringLiteral("Escritura"), QStringLiteral("*42"), date},
            {QStringLiteral("ResetFabrica"), QStringLiteral("*49"), date},
            {QStringLiteral("ResetClave"), QStringLiteral("*43"), date},
            {QStringLiteral("Verificar"), QStringLiteral("*46"), date},
            {QStringLiteral("Colgado"), QStringLiteral("*47"), date}};
}

QList<QStringList> UserRecords(const QString& date) {
    return {{QStringLiteral("Tecnico"), QStringLiteral("1"), QStringLiteral("Mostrador"), date}};
}

QList<ModelConfig> ModelConfigs(const QString& date) {
    QList<ModelConfig> out;
    for (const Design& d : designs())
        out << ModelConfig{d.fileBase, d.firmware, d.identification, configFields(d, date)};
    return out;
}

QList<QStringList> EquipmentIndexRecords(const QList<ModelConfig>& configs) {
    QList<QStringList> out;
    for (const ModelConfig& c : configs) out << QStringList{c.fileBase, c.identification};
    return out;
}

QList<KitFile> KitFiles(const QString& date) {
    QList<KitFile> files;
    const QStringList settings = SoftwareSettingsFields(date);
    files << KitFile{
        inEquipmentFolder(QStringLiteral("Software.CCon")), SoftwareSettingsRecord, {settings}};
    // The first-run installation turns the chosen equipment's file into Software.CCon.
    for (const QString& name : SelectorEquipmentNames())
        files << KitFile{
            inEquipmentFolder(name + QStringLiteral(".Ccon")), SoftwareSettingsRecord, {settings}};
    files << KitFile{inEquipmentFolder(QStringLiteral("Comandos.CCon")), CommandRecord,
                     CommandRecords(date)};
    files << KitFile{inEquipmentFolder(QStringLiteral("Usuarios.CCon")), UserRecord,
                     UserRecords(date)};
    const QList<ModelConfig> configs = ModelConfigs(date);
    files << KitFile{inEquipmentFolder(QStringLiteral("Equipo.CGe")), EquipmentIndexRecord,
                     EquipmentIndexRecords(configs)};
    for (const ModelConfig& c : configs)
        files << KitFile{{c.fileBase, QStringLiteral("Configuracion"),
                          c.fileBase + c.firmware + QStringLiteral(".Ccon")},
                         ModelConfigRecord,
                         {c.fields}};
    return files;
}

QStringList StartPicturePath() {
    return {QStringLiteral("Imagenes"), QStringLiteral("Morla.png")};
}

QImage StartPicture() {
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(0x1d, 0x3b, 0x6e));
    sky.setColorAt(1, QColor(0x7f, 0xa8, 0xd8));
    painter.fillRect(image.rect(), sky);

    // Title: five stroked letters, 40 x 60 each, 20 apart.
    QPen titlePen(QColor(0xff, 0xd5, 0x4a), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(titlePen);
    painter.setBrush(Qt::NoBrush);
    const QString title = QStringLiteral("MORLA");
    for (int i = 0; i < title.size(); ++i) {
        QTransform t;
        t.translate(60 + i * 60, 40);
        t.scale(10, 10);
        painter.drawPath(t.map(letter(title.at(i))));
    }

    // A telephone line: two poles with cross-arms and two sagging wires.
    QPen pole(QColor(0x4a, 0x32, 0x1e), 7, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pole);
    for (int x : {50, 350}) {
        painter.drawLine(x, 160, x, 290);
        painter.drawLine(x - 25, 172, x + 25, 172);
    }
    painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 2.5));
    for (int dx : {-18, 18}) {
        QPainterPath wire(QPointF(50 + dx, 170));
        wire.quadTo(200 + dx, 230, 350 + dx, 170);
        painter.drawPath(wire);
    }
    // A signal running along the line.
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff), 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath signal(QPointF(110, 250));
    for (int i = 0; i < 6; ++i) {
        const qreal x = 110 + i * 30;
        signal.quadTo(x + 7.5, 232, x + 15, 250);
        signal.quadTo(x + 22.5, 268, x + 30, 250);
    }
    painter.drawPath(signal);
    painter.end();
    return image;
}

LayOutResult LayOutKit(const QString& appFolder, bool force, const QString& date) {
    LayOutResult result;
    auto fail = [&result](const QString& why) {
        result.ok = false;
        result.errors << why;
    };

    if (!QDir().mkpath(appFolder)) {
        fail(QStringLiteral("No se puede crear la carpeta del programa %1").arg(appFolder));
        return result;
    }

    auto prepare = [&](const QStringList& parts, QString* target) {
        const QString folder = ResolvePath(joinAll(appFolder, parts.mid(0, parts.size() - 1)));
        if (!QDir().mkpath(folder)) {
            fail(QStringLiteral("No se puede crear la carpeta %1").arg(folder));
            return false;
        }
        *target = JoinPath(folder, parts.last());
        if (!force && QFileInfo(ResolvePath(*target)).isFile()) {
            result.kept << ResolvePath(*target);
            return false;
        }
        return true;
    };

    for (const KitFile& file : KitFiles(date)) {
        bool wellFormed = !file.records.isEmpty();
        for (const QStringList& record : file.records) {
            if (record.size() != file.type.fields) wellFormed = false;
            if (RecordSize(record) > file.type.length) wellFormed = false;
        }
        if (!wellFormed) {
            fail(QStringLiteral("El contenido de %1 no cabe en %2")
                     .arg(file.pathParts.join('/'), QString::fromLatin1(file.type.name)));
            continue;
        }
        QString target;
        if (!prepare(file.pathParts, &target)) continue;
        QString error;
        if (writeWhole(target, file, &error))
            result.written << target;
        else
            fail(error);
    }

    QString picture;
    if (prepare(StartPicturePath(), &picture)) {
        const QString existing = ResolvePath(picture);
        if (existing != picture && QFileInfo(existing).isFile()) QFile::remove(existing);
        if (StartPicture().save(picture, "PNG"))
            result.written << picture;
        else
            fail(QStringLiteral("No se puede escribir %1").arg(picture));
    }
    return result;
}

QStringList PendingFileNames() {
    return {QStringLiteral("KLMV.DLL"), QStringLiteral("KLMV95.DLL"), QStringLiteral("lnkx.exe")};
}

LayOutResult LayOutPending(const QString& appFolder, const QString& lineLibrary,
                           const QString& auxiliaryProgram, const QString& date) {
    LayOutResult result = LayOutKit(appFolder, false, date);
    const QStringList names = PendingFileNames();
    const QStringList sources{lineLibrary, lineLibrary, auxiliaryProgram};
    QStringList equipment = inEquipmentFolder(QString());
    equipment.removeLast();
    const QString folder = ResolvePath(joinAll(appFolder, equipment));
    for (int i = 0; i < names.size(); ++i) {
        if (!QFileInfo(sources[i]).isFile()) {
            result.ok = false;
            result.errors << QStringLiteral("No existe %1").arg(sources[i]);
            continue;
        }
        // A copy beside the target first, so a failed copy leaves no half file under its name.
        const QString target = JoinPath(folder, names[i]);
        const QString fresh = target + QStringLiteral(".kit-new");
        QFile::remove(fresh);
        const QString existing = ResolvePath(target);
        if (!QFile::copy(sources[i], fresh) ||
            (QFileInfo(existing).isFile() && !QFile::remove(existing)) ||
            !QFile::rename(fresh, target)) {
            QFile::remove(fresh);
            result.ok = false;
            result.errors << QStringLiteral("No se puede escribir %1").arg(target);
            continue;
        }
        result.written << target;
    }
    return result;
}

QString InstallLineLibrary(const QString& appFolder, const QString& builtLibrary, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return QString();
    };
    if (!QFileInfo(builtLibrary).isFile())
        return fail(QStringLiteral("No existe la biblioteca de línea %1").arg(builtLibrary));
    if (!QDir().mkpath(appFolder))
        return fail(QStringLiteral("No se puede crear la carpeta del programa %1").arg(appFolder));
    const QString target = JoinPath(appFolder, QString::fromUtf16(kLineLibraryFile));
    // A new file beside the old one, then the swap: a program that has the old one loaded
    // keeps its copy, and a failed copy leaves the old one in place.
    const QString fresh = target + QStringLiteral(".nuevo");
    QFile::remove(fresh);
    if (!QFile::copy(builtLibrary, fresh))
        return fail(QStringLiteral("No se puede copiar %1 en %2").arg(builtLibrary, fresh));
    const QString existing = ResolvePath(target);
    if (QFileInfo(existing).isFile() && !QFile::remove(existing)) {
        QFile::remove(fresh);
        return fail(QStringLiteral("No se puede reemplazar %1").arg(existing));
    }
    if (!QFile::rename(fresh, target)) {
        QFile::remove(fresh);
        return fail(QStringLiteral("No se puede escribir %1").arg(target));
    }
    return target;
}

bool SetInstallationClass(const QString& appFolder, const QString& installationClass,
                          QString* error) {
    const QString path = Paths{appFolder}.softwareSettings();
    RecordRead settings = ReadRecord(path, SoftwareSettingsRecord);
    if (!settings.ok || settings.eof) {
        if (error) *error = QStringLiteral("No existe la configuración del software %1").arg(path);
        return false;
    }
    settings.fields[26] = installationClass;
    const RecordWriteResult written = WriteRecord(path, SoftwareSettingsRecord, settings.fields);
    if (!written.ok && error) *error = written.error;
    return written.ok;
}

}  // namespace morla::datakit
