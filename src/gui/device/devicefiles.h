#pragma once
// "Guardar configuración..." and "Abrir configuración..." of "&Principal": a device's
// configuration kept in a file of its own and shown again in the model's panel as a read of
// that device would show it, ready to be written to a device.
#include <QString>
#include <functional>

#include "core/config/deviceimage.h"
#include "core/models/imagecheck.h"

namespace morla {

class Program;
struct ModelInfo;

// The file dialogs. Tests put functions here that give the name at once; an empty name is a
// cancelled dialog. `folder` is where the dialog starts, `suggested` the name it offers.
struct DeviceFileDialogs {
    std::function<QString(Program&, const QString& folder, const QString& suggested)> saveName;
    std::function<QString(Program&, const QString& folder)> openName;
};
DeviceFileDialogs& DeviceDialogs();

void SaveDeviceConfiguration(Program& p);  // the menu's "Guardar configuración..."
void OpenDeviceConfiguration(Program& p);  // the menu's "Abrir configuración..."

// The same without the dialogs. True when the file was written / shown.
bool SaveDeviceFile(Program& p, const QString& path);
bool OpenDeviceFile(Program& p, const QString& path);

// The image the panel's model would save now: the last read of that model when `asRead` and
// there is one, else the frame the panel builds. Nothing (with the reason) when there is no
// model on the panel or the panel builds no frame the model could show again.
std::optional<DeviceImage> ImageOfPanel(Program& p, bool asRead, QString* why);
// Whether the last good read is of the model on the panel.
bool HasReadOfPanelModel(const Program& p);

// The folder the dialogs start in: the last one used, kept in the program folder.
QString LastDeviceFolder(const Program& p);
QString LastDeviceFolderFile(const Program& p);

}  // namespace morla
