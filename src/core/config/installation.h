#pragma once
// First-run installation: the program folder rearranged for one equipment model. The new
// layout is built in a work folder at the drive root and put in place only when every copy
// succeeded; folders that are not the kit's own are never touched.
#include <QString>
#include <QStringList>

namespace morla {

// Captions of the selector's option buttons, by index 0..9.
QStringList SelectorEquipment();
// Items of the selector's operating system list, in order.
QStringList SelectorOperatingSystems();
// Folder of an equipment's model files: the equipment name, except the two variants.
QString ModelFolderName(const QString& equipment);
// Folders the data kit puts in a program folder: pictures, data and one per model.
QStringList KitFolderNames();

// The drive the program is on: the drive of the folder on Windows, its parent elsewhere.
QString DriveRoot(const QString& appFolder);
QString InstallationMarker(const QString& appFolder);
QString InstallationWorkFolder(const QString& appFolder);  // <drive>/Tempo2
QString AuxiliaryProgram(const QString& appFolder);        // <drive>/lnkx.exe

bool InstallationPending(const QString& appFolder);
// The auxiliary program left at the drive root by an installation is removed at the next start.
void RemoveAuxiliaryProgram(const QString& appFolder);

struct InstallResult {
    bool ok = false;
    QStringList missing;  // sources that are not there (native paths)
    QString error;        // why the installation stopped, for the user
    bool startAuxiliary = false;
};

InstallResult InstallForEquipment(const QString& appFolder, const QString& equipment,
                                  const QString& operatingSystem);

// Starts the auxiliary program without waiting for it; false when it could not be started.
bool StartAuxiliaryProgram(const QString& path);

}  // namespace morla
