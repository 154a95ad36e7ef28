#pragma once
// What a model makes of a device configuration file: whether its decoder can show the file's
// digits, the map they stand for, and the messages that refuse a file. Shared by the windows
// and the command line.
#include <QString>

#include "core/config/deviceimage.h"

namespace morla {

struct ModelInfo;

// The firmware code a read of these digits gives, as the model's decoder takes it.
QString FirmwareOfRead(const ModelInfo& m, const QString& digits);

// The model a file names, and whether its digits can be shown by that model's decoder:
// UnknownModel for a code that names no model, Damaged with the reason for digits it could
// not show (or would take for a bad reply).
ImageRefusal CheckForModel(const DeviceImage& image, QString* detail);

// The reply map an image stands for, as its model's decoder takes it: a read's digits as they
// are, a panel's frame as the map it stands for. The Tervolinda's frame stays a frame.
QString MapOfImage(const ModelInfo& m, const DeviceImage& image);

// "No se abrió <path>: " and why, for a file that was parsed or checked and refused.
QString ImageRefusalText(const QString& path, const ParsedImage& parsed, ImageRefusal refusal,
                         const QString& detail);

}  // namespace morla
