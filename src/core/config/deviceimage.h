#pragma once
// A device configuration kept in a file: text a person can read, with the model, the firmware,
// the digits the device sent (or the frame the panel would write), the date and a CRC-32 over
// all of it. Widget-free: the text is built from fields and parsed back into them or into the
// reason it is refused. What a model makes of the digits is checked against its ImageShape.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace morla {

inline constexpr int kDeviceImageVersion = 1;
inline constexpr char kDeviceImageSuffix[] = "mcfg";
// Larger files are refused unread: the largest image is a few hundred digits.
inline constexpr qint64 kDeviceImageMaxBytes = 16 * 1024;

enum class ImageOrigin {
    Read,   // the reply of a read less its first four characters
    Panel,  // the write frame the panel builds
};

struct DeviceImage {
    QString modelCode;  // as ModelCode ("0:" for the Quarn)
    QString equipment;  // the model's dispatch name
    QString firmware;   // FirmwareCode
    ImageOrigin origin = ImageOrigin::Read;
    QString digits;  // upper-case hex digits
    QString saved;   // local date and time, "yyyy-MM-dd HH:mm:ss"

    friend bool operator==(const DeviceImage&, const DeviceImage&) = default;
};

enum class ImageRefusal {
    None,
    OtherVersion,  // written by another version of the program
    Damaged,       // not a configuration file, or one whose content cannot be used
    BadChecksum,   // the content does not match its CRC: edited outside the program
    UnknownModel,  // a model this program does not handle
};

struct ParsedImage {
    std::optional<DeviceImage> image;
    ImageRefusal refusal = ImageRefusal::None;
    QString detail;  // what exactly is wrong, in Spanish, for the message
    int version = 0;
};

// The date line of a file saved at `when`.
QString ImageDate(const QDateTime& when);

// CRC-32 as zip and PNG compute it (reflected polynomial 0xEDB88320).
quint32 Crc32(const QByteArray& bytes);

// The file's text, in UTF-8, with "\n" line ends.
QByteArray FormatDeviceImage(const DeviceImage& image);
ParsedImage ParseDeviceImage(const QByteArray& file);

// What a model accepts, from the registry and its decoder.
struct ImageShape {
    QString equipment;           // dispatch name the file must give
    QString codeDigits;          // the model code as map digits ("0A" for "0:")
    int readDigits = 0;          // digits of a reply less its first four characters
    QList<int> frameDigits;      // lengths a write frame of the model can have
    bool readChecksums = false;  // its decoder tests the block checksums of a read
    int blocks = 1;
};
// ImageRefusal::None, or Damaged with the reason. A Panel image's frame is checked by the
// caller, which knows how the model turns it back into a map.
ImageRefusal CheckImage(const DeviceImage& image, const ImageShape& shape, QString* detail);
// 0 when the checksums of the map's blocks are right, else the first wrong block.
int WrongBlock(const QString& map, int blocks);

// The reply text a device sends for these digits: "0245", then digit d as the character with
// code 48 + d.
QString ReplyTextFor(const QString& digits);
// The digits of a reply text: the low four bits of each character from the fifth on.
QString DigitsOfReply(const QString& replyText);

}  // namespace morla
