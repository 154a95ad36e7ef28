#pragma once
// The eight device models and what the framework needs to know of each.
#include <QString>
#include <span>

namespace morla {

enum class ModelId {
    Sorvanell,
    Luvero,
    Zentavira,
    Haldrivonexa,
    Quarn,
    Pellitor,
    Tervolinda,
    Kovalindre
};

// What a model does when a block checksum of its reply is wrong.
enum class ChecksumPolicy {
    RetryRead,     // retry the read up to MaxReadRetries, then "Error de Comunicación!"
    ReportOnly,    // a message, no retry
    DropSilently,  // drop the reply without a message
    None,          // no checksum tested
};

struct ModelInfo {
    ModelId id;
    const char16_t* dispatchName;  // EquipmentName that selects the model
    const char16_t* modelCode;     // ModelCode and characters 5-6 of the reply
    const char16_t* fileBase;      // folder and configuration file name
    const char* frameName;         // the model's panel on the main window
    int replyLength;               // characters of a complete reply
    const char16_t* kindByte;      // two digits after "0245" in the write frame ("" for none)
    const char16_t* defaultFirmware;
    ChecksumPolicy checksum;
    bool hasBuildFrame;
    int keyLength;      // characters of the device key (the key box's limit)
    int keyStarAt = 0;  // place of the "*" inside the key, from 1 (0: digits only)
    // The firmware travels as two characters both ways, not as a hex byte.
    bool firmwareAsCharacters = false;

    QString dispatch() const { return QString::fromUtf16(dispatchName); }
    QString code() const { return QString::fromUtf16(modelCode); }
    QString base() const { return QString::fromUtf16(fileBase); }
    QString kind() const { return QString::fromUtf16(kindByte); }
    QString firmware() const { return QString::fromUtf16(defaultFirmware); }
    int blocks() const { return replyLength == 270 ? 2 : 1; }
};

// In the order in which the dispatch compares the names.
std::span<const ModelInfo> Models();
const ModelInfo* ModelByCode(const QString& modelCode);
const ModelInfo* ModelByDispatchName(const QString& name);
const ModelInfo& Model(ModelId id);

// Installation class written into every frame: "09", "01", "02" or "" for any other class.
QString InstallationClassCode(const QString& installationClass);
// The installation class is the window title from character 12 on ("Morla para " is 11).
QString InstallationClassFromTitle(const QString& title);

}  // namespace morla
