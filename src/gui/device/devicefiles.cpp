#include "gui/device/devicefiles.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "core/codec/codec.h"
#include "core/codec/text.h"
#include "core/config/filecause.h"
#include "core/config/recordfile.h"
#include "core/models/fieldlayout.h"
#include "core/models/imagecheck.h"
#include "core/models/registry.h"
#include "core/models/tervolinda.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

namespace {
// The folder of the last file saved or opened, one text field.
constexpr RecordType kLastFolderRecord{"LastFolderRecord", 1000, 1};

QString filter() {
    return QStringLiteral("Configuración de equipo MORLA (*.%1)")
        .arg(QLatin1String(kDeviceImageSuffix));
}

// What "&Ult.Envío" hands the decoder where a reply would be.
int maskLength(const ModelInfo& m) {
    return m.id == ModelId::Tervolinda ? tervolinda::kWrittenMaskLength : m.replyLength;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void rememberFolder(Program& p, const QString& file) {
    // A folder the record cannot hold is simply not remembered.
    ReplaceRecordFile(LastDeviceFolderFile(p), kLastFolderRecord, {QFileInfo(file).absolutePath()},
                      p.s.AppFolder);
}

// Shows a read image as the receive event leaves a complete reply, through the model's decoder.
void showAsRead(Program& p, const DeviceImage& image) {
    p.line->LoadReply(ToAnsi(ReplyTextFor(image.digits)));
    CallReadReply(p, p.s.ModelCode);
}

// Shows a panel's frame as "&Ult.Envío" shows the last one sent; the last read stays the last
// read.
void showAsWritten(Program& p, const ModelInfo& m, const DeviceImage& image) {
    MorlaState& s = p.s;
    const QString lastRead = s.LastReadText;
    s.ModelCode = image.modelCode;
    s.LiveReplyFlag = 0;
    s.ReadMap = MapOfImage(m, image);
    s.LastReadText = QString(maskLength(m), '1');
    s.Monitor.MorTexMon04.set(s.LastReadText);
    CallReadReply(p, s.ModelCode);
    s.LastReadText = lastRead;
}

// The panel's write frame, built as "&Enviar" builds it, with every global the build sets put
// back: saving sends nothing.
QString panelFrame(Program& p, const ModelInfo& m) {
    MorlaState& s = p.s;
    const QString sendFrame = s.SendFrame, sendData = s.SendData, sendMask = s.SendMask,
                  keyStatus = s.KeyStatus, editorMode = s.KeyEditorMode,
                  commandIndex = s.CommandIndex, shownFrame = s.Monitor.MorTexMon02.text();
    // As a write does first: the flags box from the restriction boxes.
    p.main->MorTexBan->setText(s.joinedRestrictorFlags());
    s.SendFrame.clear();
    CallBuildFrame(p, m.code());
    const QString frame = s.SendFrame;
    s.SendFrame = sendFrame;
    s.SendData = sendData;
    s.SendMask = sendMask;
    s.KeyStatus = keyStatus;
    s.KeyEditorMode = editorMode;
    s.CommandIndex = commandIndex;
    s.Monitor.MorTexMon02.set(shownFrame);
    return frame;
}
}  // namespace

DeviceFileDialogs& DeviceDialogs() {
    static DeviceFileDialogs dialogs{
        [](Program& p, const QString& folder, const QString& suggested) {
            // The replace question is the program's own.
            return QFileDialog::getSaveFileName(p.main.get(),
                                                QStringLiteral("Guardar configuración"),
                                                QDir(folder).filePath(suggested), filter(), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        },
        [](Program& p, const QString& folder) {
            return QFileDialog::getOpenFileName(p.main.get(), QStringLiteral("Abrir configuración"),
                                                folder, filter());
        }};
    return dialogs;
}

QString LastDeviceFolderFile(const Program& p) {
    return JoinPath(p.s.paths().equipmentFolder(), QStringLiteral("UltCarpeta.CCon"));
}

QString LastDeviceFolder(const Program& p) {
    const QString kept = ReadRecord(LastDeviceFolderFile(p), kLastFolderRecord).fields.value(0);
    if (!kept.isEmpty() && QFileInfo(kept).isDir()) return kept;
    return QDir::homePath();
}

bool HasReadOfPanelModel(const Program& p) {
    const MorlaState& s = p.s;
    const ModelInfo* m = ModelByDispatchName(s.EquipmentName);
    // "&Ult.Envío" leaves its mask where the reply text was: no reply, no read.
    return m && s.LastReadText.size() == m->replyLength && s.LastReadText.startsWith('0') &&
           s.LastReadText.mid(4, 2) == m->code() && !s.LastReadMap.isEmpty() &&
           DigitsOfReply(s.LastReadText).startsWith(s.LastReadMap);
}

std::optional<DeviceImage> ImageOfPanel(Program& p, bool asRead, QString* why) {
    const ModelInfo* m = ModelByDispatchName(p.s.EquipmentName);
    if (!m) {
        *why = QStringLiteral("no hay un equipo en el panel");
        return std::nullopt;
    }
    DeviceImage image;
    image.modelCode = m->code();
    image.equipment = m->dispatch();
    image.saved = ImageDate(QDateTime::currentDateTime());
    if (asRead && HasReadOfPanelModel(p)) {
        image.origin = ImageOrigin::Read;
        image.digits = DigitsOfReply(p.s.LastReadText);
        image.firmware = FirmwareOfRead(*m, image.digits);
    } else {
        image.origin = ImageOrigin::Panel;
        image.digits = MapOfSentFrame(*m, panelFrame(p, *m),
                                      !InstallationClassCode(InstallationClass(p)).isEmpty());
        image.firmware = p.s.FirmwareCode;
        if (image.digits.isEmpty()) {
            *why = QStringLiteral("el panel no forma una configuración para el firmware %1")
                       .arg(image.firmware);
            return std::nullopt;
        }
        // The frame carries the firmware box; opened, it would show under that firmware, with
        // that firmware's configuration file and layout, not the panel's.
        const QString carried = FirmwareOfRead(*m, image.digits);
        if (m->id != ModelId::Tervolinda && carried != p.s.FirmwareCode) {
            *why = QStringLiteral("el panel es del firmware %1 y la casilla de firmware dice %2")
                       .arg(p.s.FirmwareCode, p.main->MorTexResFirm->text());
            return std::nullopt;
        }
    }
    // Only what opens again is saved.
    const ParsedImage again = ParseDeviceImage(FormatDeviceImage(image));
    if (!again.image) {
        *why = again.detail;
        return std::nullopt;
    }
    if (CheckForModel(image, why) != ImageRefusal::None) return std::nullopt;
    return image;
}

namespace {
// What to save, asked first when there is a read: nothing (after its message) when the panel
// cannot be saved.
std::optional<DeviceImage> chosenImage(Program& p) {
    const bool asRead =
        HasReadOfPanelModel(p) &&
        p.msg.yes(QStringLiteral("¿Guardar la configuración tal como se leyó del equipo?\n"
                                 "(No: como está ahora en el panel)"));
    QString why;
    std::optional<DeviceImage> image = ImageOfPanel(p, asRead, &why);
    if (!image) p.msg.info(QStringLiteral("No se puede guardar la configuración: ") + why + '.');
    return image;
}

bool writeImage(Program& p, const QString& path, const DeviceImage& image) {
    // A folder or a pipe in the file's place is refused before anything is asked.
    if (const QString kind = KindCause(path); !kind.isEmpty() && !QFileInfo(path).isSymLink()) {
        p.msg.info(
            QStringLiteral("No se guardó la configuración en %1: %2.").arg(native(path), kind));
        return false;
    }
    if (QFileInfo::exists(path) &&
        !p.msg.yes(QStringLiteral("¿Desea reemplazar  ") + native(path) + QStringLiteral("  ?")))
        return false;
    const RecordWriteResult written = ReplaceFile(path, FormatDeviceImage(image));
    if (!written.ok) {
        p.msg.info(QStringLiteral("No se guardó la configuración: ") + written.error);
        return false;
    }
    rememberFolder(p, path);
    p.msg.info(QStringLiteral("Configuración guardada en ") + native(path));
    return true;
}
}  // namespace

bool SaveDeviceFile(Program& p, const QString& path) {
    const std::optional<DeviceImage> image = chosenImage(p);
    return image && writeImage(p, path, *image);
}

bool OpenDeviceFile(Program& p, const QString& path) {
    if (p.line->reading()) {
        p.msg.info(
            QStringLiteral("Hay una lectura en curso: abra la configuración cuando termine."));
        return false;
    }
    // Only a regular file: a named pipe would block the window for good.
    QFile file;
    QString cause;
    if (!OpenRegularFile(file, path, &cause)) {
        p.msg.info(QStringLiteral("No se abrió %1: %2.").arg(native(path), cause));
        return false;
    }
    if (file.size() > kDeviceImageMaxBytes) {
        p.msg.info(QStringLiteral("No se abrió %1: mide %2 bytes y un archivo de configuración de "
                                  "equipo no pasa de %3 bytes.")
                       .arg(native(path))
                       .arg(file.size())
                       .arg(kDeviceImageMaxBytes));
        return false;
    }
    const QByteArray bytes = file.read(kDeviceImageMaxBytes + 1);
    file.close();
    const ParsedImage parsed = ParseDeviceImage(bytes);
    if (!parsed.image) {
        p.msg.info(ImageRefusalText(path, parsed, parsed.refusal, parsed.detail));
        return false;
    }
    QString detail;
    if (const ImageRefusal r = CheckForModel(*parsed.image, &detail); r != ImageRefusal::None) {
        p.msg.info(ImageRefusalText(path, parsed, r, detail));
        return false;
    }
    rememberFolder(p, path);
    const ModelInfo& m = *ModelByCode(parsed.image->modelCode);
    if (parsed.image->origin == ImageOrigin::Read)
        showAsRead(p, *parsed.image);
    else
        showAsWritten(p, m, *parsed.image);
    return true;
}

void SaveDeviceConfiguration(Program& p) {
    const ModelInfo* m = ModelByDispatchName(p.s.EquipmentName);
    if (!m) {
        p.msg.info(QStringLiteral("Elija un equipo o lea uno antes de guardar su configuración."));
        return;
    }
    // What is saved is settled before the dialog: no name is asked for what cannot be saved.
    const std::optional<DeviceImage> image = chosenImage(p);
    if (!image) return;
    QString path = DeviceDialogs().saveName(
        p, LastDeviceFolder(p),
        m->base() + image->firmware + QLatin1Char('.') + QLatin1String(kDeviceImageSuffix));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(kDeviceImageSuffix);
    writeImage(p, path, *image);
}

void OpenDeviceConfiguration(Program& p) {
    const QString path = DeviceDialogs().openName(p, LastDeviceFolder(p));
    if (!path.isEmpty()) OpenDeviceFile(p, path);
}

}  // namespace morla
