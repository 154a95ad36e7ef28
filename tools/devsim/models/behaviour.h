#pragma once
// What differs between the models inside the device: the factory image beyond the common
// header, how the write data text lands in memory, and the single commands. Each model that
// has more than the blank image fills one ModelBehaviour in its own file; a missing function
// means the device acknowledges the message and changes nothing.
#include <QString>
#include <QStringList>

#include "devsim/image.h"

namespace morla::devsim {

enum class Outcome {
    Applied,      // memory changed as asked
    WrongKey,     // the key given does not open the device
    Rejected,     // malformed: wrong length, unknown code, bad value
    Unsupported,  // this model's simulation does not know the message
};

struct Result {
    Outcome outcome;
    QString detail;  // one line for the log
};

struct ModelBehaviour {
    // Completes the blank image into the model's factory image.
    void (*factory)(MemoryImage& image) = nullptr;
    // Sets up a known device: the key digits and the option bits ("1"/"0", option 1 first).
    // Either text may be empty, meaning "as it is".
    Result (*setUp)(MemoryImage& image, const QString& key, const QString& options) = nullptr;
    // Stores the data text that follows a write command.
    Result (*applyData)(MemoryImage& image, const QString& dataText) = nullptr;
    // A single command ("#n,key,value", or the Sorvanell's separated form), split at its
    // commas.
    Result (*applySingle)(MemoryImage& image, const QStringList& fields) = nullptr;
    // The key as typed ("A" back to "0"); empty when the model keeps none here.
    QString (*key)(const MemoryImage& image) = nullptr;
    // Copies the key positions of the factory image into memory.
    Result (*resetKey)(MemoryImage& image, const MemoryImage& factory) = nullptr;
    // Map position of the data text's first character, where the text lands on one run of
    // positions (0: it does not).
    int dataAt = 0;
};

const ModelBehaviour& BehaviourOf(ModelId id);

// The factory image of a model: the blank image completed by its behaviour.
MemoryImage FactoryImage(const ModelInfo& model, const QString& firmwareDecimal);

// The model for a command-line name: "luvero", "quarn", ... (case ignored, accent allowed).
const ModelInfo* ModelByOptionName(const QString& name);
QStringList ModelOptionNames();

// Per-model behaviours, defined in their own files.
extern const ModelBehaviour kLuveroBehaviour;
extern const ModelBehaviour kSorvanellBehaviour;
extern const ModelBehaviour kTervolindaBehaviour;
extern const ModelBehaviour kZentaviraBehaviour;
extern const ModelBehaviour kHaldrivonexaBehaviour;
// Quarn, Pellitor and Kovalindre.
extern const ModelBehaviour kLongReplyBehaviour;

}  // namespace morla::devsim
