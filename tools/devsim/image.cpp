#include "devsim/image.h"

#include <QFile>

#include "core/codec/codec.h"

namespace morla::devsim {

namespace {
bool isHexDigit(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

struct Block {
    int first;     // first map position summed
    int last;      // last map position summed
    int checksum;  // map position of its two checksum digits
};

// A 270-character reply carries a second block after "45" at 131-132.
int blockCount(const ModelInfo& model) {
    return model.replyLength == 270 ? 2 : 1;
}
Block block(int index) {
    return index == 0 ? Block{1, 128, 129} : Block{133, 260, 261};
}
}  // namespace

int MapLength(const ModelInfo& model) {
    return model.replyLength - 4;
}

QString EncodeDigits(const QString& digits) {
    QString out;
    out.reserve(digits.size());
    for (QChar c : digits) out += QChar(char16_t(48 + HexToDigit(QString(c))));
    return out;
}

QString DecodeCharacters(const QString& characters) {
    QString out;
    out.reserve(characters.size());
    for (QChar c : characters) out += DigitToHex(c.unicode() & 0x0F);
    return out;
}

MemoryImage::MemoryImage(const ModelInfo& model, const QString& digits)
    : model_(&model), map_(digits.leftJustified(MapLength(model), 'F', true)) {}

MemoryImage MemoryImage::Blank(const ModelInfo& model, const QString& firmwareDecimal) {
    MemoryImage image(model, QString(MapLength(model), 'F'));
    // The code is sent as reply characters ("0:" for the Quarn), the map holds its digits.
    image.set(1, DecodeCharacters(model.code()));
    image.set(3, DecToHex2(firmwareDecimal));
    image.set(5, QStringLiteral("09"));
    image.set(7, QStringLiteral("0001"));
    if (blockCount(model) == 2) {
        image.set(131, QStringLiteral("45"));
        image.set(259, QStringLiteral("6E"));
        image.set(263, QStringLiteral("03FE"));
    } else {
        image.set(131, QStringLiteral("03FE"));
    }
    image.refreshChecksums();
    return image;
}

int MemoryImage::digit(int position) const {
    return HexToDigit(map_.mid(position - 1, 1));
}

void MemoryImage::set(int position, const QString& digits) {
    for (int i = 0; i < digits.size() && position - 1 + i < map_.size(); ++i)
        map_[position - 1 + i] = digits.at(i);
}

void MemoryImage::setDigit(int position, int value) {
    set(position, DigitToHex(value & 0x0F));
}

void MemoryImage::refreshChecksums() {
    for (int b = 0; b < blockCount(*model_); ++b) {
        const Block k = block(b);
        set(k.checksum, FrameChecksum(mid(k.first, k.last - k.first + 1)));
    }
}

bool MemoryImage::checksumsOk() const {
    for (int b = 0; b < blockCount(*model_); ++b) {
        const Block k = block(b);
        if (FrameChecksum(mid(k.first, k.last - k.first + 1)) != mid(k.checksum, 2)) return false;
    }
    return true;
}

QString MemoryImage::reply() const {
    MemoryImage copy = *this;
    copy.refreshChecksums();
    return QStringLiteral("0245") + EncodeDigits(copy.map_);
}

bool LoadImage(const QString& path, const ModelInfo& model, QString* digits, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString text;
    for (QChar c : QString::fromLatin1(file.readAll()))
        if (!c.isSpace()) text += c.toUpper();
    if (text.size() != MapLength(model)) {
        *error = QStringLiteral("%1 holds %2 digits, the %3 memory has %4")
                     .arg(path)
                     .arg(text.size())
                     .arg(model.base())
                     .arg(MapLength(model));
        return false;
    }
    for (int i = 0; i < text.size(); ++i) {
        if (!isHexDigit(text.at(i))) {
            *error = QStringLiteral("%1: position %2 is not a hex digit").arg(path).arg(i + 1);
            return false;
        }
    }
    *digits = text;
    return true;
}

bool SaveImage(const QString& path, const MemoryImage& image, QString* error) {
    MemoryImage copy = image;
    copy.refreshChecksums();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(copy.digits().toLatin1() + '\n') < 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace morla::devsim
