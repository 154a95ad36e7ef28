#pragma once
// The default data kit: every record file and picture that a program folder needs before the
// first start, written with the program's own record-file code so that the two cannot drift.
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/config/recordfile.h"

namespace morla::datakit {

// The installation code the kit gives this installation: a device written by it reports this
// modifier, which the panels show as "Dravenquista".
inline constexpr char16_t kInstallationCode[] = u"0001";
inline constexpr char16_t kInstallationClass[] = u"Dravenquista";

// One record file of the kit, its path relative to the program folder as folder components.
struct KitFile {
    QStringList pathParts;
    RecordType type;
    QList<QStringList> records;  // record 1, 2, ...; each exactly type.fields texts
};

// One model configuration file: which model folder and firmware it belongs to.
struct ModelConfig {
    QString fileBase;
    QString firmware;
    QString identification;
    QStringList fields;  // the 57 fields of the record
};

// Equipment names of the first-run selector, each with its own software settings file.
QStringList SelectorEquipmentNames();

QStringList SoftwareSettingsFields(const QString& date);
QList<QStringList> CommandRecords(const QString& date);
QList<QStringList> UserRecords(const QString& date);
QList<ModelConfig> ModelConfigs(const QString& date);
QList<QStringList> EquipmentIndexRecords(const QList<ModelConfig>& configs);

// Every record file of the kit, in the order it is written.
QList<KitFile> KitFiles(const QString& date);

// The start-page picture, drawn without fonts so it looks the same on every machine.
QImage StartPicture();
QStringList StartPicturePath();  // relative to the program folder

struct LayOutResult {
    bool ok = true;
    QStringList written;  // paths written (full paths)
    QStringList kept;     // paths that existed and were left alone
    QStringList errors;
};

// Lays the kit out under appFolder. Without force, files that exist (under any letter case)
// are kept; with force every kit file is written anew, whole.
LayOutResult LayOutKit(const QString& appFolder, bool force, const QString& date);

// Names of the files that make an installation pending, in the equipment data folder: the
// marker (the line library build for most systems), the Windows 95 build, the auxiliary program.
QStringList PendingFileNames();

// Lays the kit out (existing files kept) with the installation pending: the line library file
// under both build names, and the auxiliary program, in the equipment data folder.
LayOutResult LayOutPending(const QString& appFolder, const QString& lineLibrary,
                           const QString& auxiliaryProgram, const QString& date);
// Copies a built line library into appFolder under the name the program loads, replacing an
// older copy (a build product, never edited by hand). A running program keeps the copy it has
// loaded. Returns the path written, or an empty text and the reason in error.
QString InstallLineLibrary(const QString& appFolder, const QString& builtLibrary, QString* error);

// Sets the installation class text of the folder's software settings; a class beginning with
// "PC" makes the folder a modem installation. The other fields stay as they are.
bool SetInstallationClass(const QString& appFolder, const QString& installationClass,
                          QString* error);

}  // namespace morla::datakit
