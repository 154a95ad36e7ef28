#pragma once
// A device's memory, kept as the digit map of its reply: one upper-case hex digit per
// position, counted from 1. A read sends it, a write or a single command changes it.
#include <QString>

#include "core/models/registry.h"

namespace morla::devsim {

// Digits of the map for a model: the reply length less the four characters of "0245".
int MapLength(const ModelInfo& model);

// Reply characters for map digits: digit d travels as the character with code 48 + d.
QString EncodeDigits(const QString& digits);
// Map digits for reply characters: the low four bits of each, as "0".."9", "A".."F".
QString DecodeCharacters(const QString& characters);

class MemoryImage {
  public:
    MemoryImage(const ModelInfo& model, const QString& digits);
    // The image every model starts from: code, firmware, user type 9, modifier "0001",
    // "F" fill, the trailers and the checksums.
    static MemoryImage Blank(const ModelInfo& model, const QString& firmwareDecimal);

    const ModelInfo& model() const { return *model_; }
    const QString& digits() const { return map_; }
    QString mid(int position, int count) const { return map_.mid(position - 1, count); }
    int digit(int position) const;
    void set(int position, const QString& digits);
    void setDigit(int position, int value);

    // Block checksums as the device computes them over its memory.
    void refreshChecksums();
    bool checksumsOk() const;
    // "0245" and the image on the line, checksums freshly computed.
    QString reply() const;

  private:
    const ModelInfo* model_;
    QString map_;
};

// Loads a memory file: the map digits as text (blanks and line ends ignored, lower case
// accepted). False with a reason when the file is missing, unreadable or the wrong size.
bool LoadImage(const QString& path, const ModelInfo& model, QString* digits, QString* error);
bool SaveImage(const QString& path, const MemoryImage& image, QString* error);

}  // namespace morla::devsim
