#include "core/models/imagecheck.h"

#include <QDir>

#include "core/codec/codec.h"
#include "core/models/fieldlayout.h"
#include "core/models/longreply.h"
#include "core/models/registry.h"
#include "core/models/tervolinda.h"

namespace morla {

namespace {
bool isLongReply(const ModelInfo& m) {
    return m.id == ModelId::Quarn || m.id == ModelId::Pellitor || m.id == ModelId::Kovalindre;
}

// The model code as map digits: the low four bits of each character.
QString codeDigits(const QString& code) {
    return DigitsOfReply(QStringLiteral("0245") + code);
}

QList<int> frameLengths(const ModelInfo& m) {
    if (m.id == ModelId::Tervolinda) return {tervolinda::kFrameLength};
    // With and without the class code (the decoder puts it back); the Quarn Dolmeth's frame
    // is shorter.
    if (isLongReply(m)) return {longreply::kMapLength, longreply::kMapLength - 2, 236, 234};
    // The Sorvanell's frame ends in its data text's "f". Without the class code the others
    // would not have their fields where the decoder looks.
    if (m.id == ModelId::Sorvanell) return {m.replyLength - 3};
    return {m.replyLength - 4};
}
}  // namespace

QString FirmwareOfRead(const ModelInfo& m, const QString& digits) {
    if (m.id == ModelId::Tervolinda) return tervolinda::FirmwareOf(ReplyTextFor(digits));
    if (m.firmwareAsCharacters) return digits.mid(2, 2);
    return HexToDec(digits.mid(2, 2));
}

ImageRefusal CheckForModel(const DeviceImage& image, QString* detail) {
    auto damaged = [detail](const QString& why) {
        if (detail) *detail = why;
        return ImageRefusal::Damaged;
    };
    const ModelInfo* m = ModelByCode(image.modelCode);
    if (!m) {
        if (detail) *detail = image.modelCode;
        return ImageRefusal::UnknownModel;
    }
    ImageShape shape;
    shape.equipment = m->dispatch();
    shape.codeDigits = codeDigits(m->code());
    shape.readDigits = m->replyLength - 4;
    shape.frameDigits = frameLengths(*m);
    shape.readChecksums = m->checksum != ChecksumPolicy::None;
    shape.blocks = m->blocks();
    if (const ImageRefusal r = CheckImage(image, shape, detail); r != ImageRefusal::None) return r;

    if (image.origin == ImageOrigin::Read) {
        const QString firmware = FirmwareOfRead(*m, image.digits);
        if (image.firmware != firmware)
            return damaged(QStringLiteral("el firmware %1 no es el del mapa, %2")
                               .arg(image.firmware, firmware));
        return ImageRefusal::None;
    }
    // A frame is shown as the decoder takes it back: its checksums must hold there too, or
    // the decoder would take it for a bad reply (and read the device again).
    if (m->id == ModelId::Tervolinda) {
        if (tervolinda::FrameFirmware(image.digits).isEmpty())
            return damaged(QStringLiteral("el marco no es de una variante conocida"));
        return ImageRefusal::None;
    }
    const QString map = MapOfImage(*m, image);
    if (isLongReply(*m)) {
        if (map.size() != shape.readDigits)
            return damaged(QStringLiteral("el marco no tiene la forma de este modelo"));
    }
    if (shape.readChecksums)
        if (const int block = WrongBlock(map, shape.blocks))
            return damaged(
                QStringLiteral("la suma del bloque %1 del marco no es correcta").arg(block));
    return ImageRefusal::None;
}

QString MapOfImage(const ModelInfo& m, const DeviceImage& image) {
    if (image.origin == ImageOrigin::Read) return image.digits;
    // Images are saved in map form (the class code's place kept); one saved by an earlier
    // version in an installation without a class code is two characters short of it.
    const bool short2 = frameLengths(m).contains(int(image.digits.size()) + 2);
    return MapOfSentFrame(m, image.digits, !short2);
}

QString ImageRefusalText(const QString& path, const ParsedImage& parsed, ImageRefusal refusal,
                         const QString& detail) {
    const QString head = QStringLiteral("No se abrió %1: ").arg(QDir::toNativeSeparators(path));
    switch (refusal) {
        case ImageRefusal::OtherVersion:
            return head + QStringLiteral(
                              "es un archivo de otra versión del programa (versión %1; "
                              "este programa abre la versión %2).")
                              .arg(parsed.version)
                              .arg(kDeviceImageVersion);
        case ImageRefusal::BadChecksum:
            return head + QStringLiteral(
                              "el archivo fue modificado fuera del programa (su suma de "
                              "verificación no corresponde).");
        case ImageRefusal::UnknownModel:
            return head +
                   QStringLiteral("es de un equipo que este programa no maneja (modelo \"%1\").")
                       .arg(detail);
        case ImageRefusal::Damaged:
        case ImageRefusal::None:
            break;
    }
    return head + QStringLiteral("el archivo está dañado (%1).").arg(detail);
}

}  // namespace morla
