#pragma once
// The whole write of a configuration map without any panel: the frame and the data text that
// "&Enviar" builds after the map is shown in the model's panel (a read, or a file opened).
// Every model with a whole write goes through the one function here.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace morla {

struct ModelInfo;

struct WriteText {
    QString frame;      // SendFrame
    QString data;       // SendData, what goes on the line after the write command
    QString firmware;   // the firmware code the panel shows for the map
    QString key;        // the key box
    QString keyStatus;  // KeyStatus as the frame's build leaves it ("" when it never judged)
    // What each box of the panel holds for the map, by control name, in panel order: the
    // fields a read shows and those a read leaves at their configured default.
    QList<QPair<QString, QString>> boxes;

    // Whether "&Enviar" sends it: a valid key of the model's whole length.
    bool keyAccepted(const ModelInfo& m) const;
};

// `map` is a reply map of `m` (a read, or a stored frame as MapOfImage gives it).
// `configRecord` is the model configuration record of the map's firmware (its fields in
// order; empty fields when there is no file), for the boxes a read does not fill.
// `classCode` is the installation class code ("" for a class without one).
// Nothing, with the reason, for a model without a whole write or a map that is not the
// model's.
std::optional<WriteText> WriteOfMap(const ModelInfo& m, const QString& map,
                                    const QString& installationCode, const QString& classCode,
                                    const QStringList& configRecord, QString* refusal = nullptr);

}  // namespace morla
