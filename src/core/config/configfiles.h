#pragma once
// What the configuration editor and the administration window do with their files, without
// widgets: typed names checked before they become file names, flag strings, the equipment
// index, the users file and the software settings record.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/config/recordfile.h"

namespace morla {

// A field's bytes as the file held them, written back unchanged while its box still shows the
// text they were read as (bytes the code page leaves undefined would not survive the text).
struct KeptField {
    QByteArray bytes;
    QString text;

    static KeptField From(const QByteArray& b) { return {b, FromAnsi(b)}; }
    QByteArray bytesFor(const QString& shown) const;
};

// Refusal of the first text that the file's code page cannot hold, naming the file; empty
// when every text can be stored.
QString UnstorableText(const QStringList& texts, const QString& path);

// Why a model name and firmware code typed into the editor cannot name its folder and file;
// empty when they can. The model name is a folder, model & firmware & ".CCon" a file.
QString ModelFileNameProblem(const QString& model, const QString& firmware);

// The model's own folder for configurations, and its file as the editor writes it.
QString ModelConfigFolder(const Paths& paths, const QString& model);
QString EditorConfigPath(const Paths& paths, const QString& model, const QString& firmware);

// `count` characters of "1"/"0": "1" where the text has "1", "0" otherwise (also past its end).
QString FlagString(const QString& text, int count);

// Field 55 of a model configuration split as the editor shows it: 10, 9 and 1 characters.
struct ParamFlagParts {
    QString first, second, third;
};
ParamFlagParts SplitParamFlags(const QString& flags);

// Model names of the used records of the equipment index, in record order. A file that is
// there but cannot be read (not a regular file, far too large) gives none, and `problem`
// names it and says why ("" otherwise, also for a missing file).
QStringList EquipmentNames(const QString& indexPath, QString* problem = nullptr);
// Rewrites the record holding (model, identification) in place, or appends the pair after the
// last record of the file; creates the file when missing. `within` as for WriteRecord.
RecordWriteResult RecordInEquipmentIndex(const QString& indexPath, const QString& model,
                                         const QString& identification, const QString& within = {});

// User names of the used records of the users file, in record order; `problem` as above.
QStringList UserNames(const QString& usersPath, QString* problem = nullptr);
// First used record whose user name is `name`.
struct FoundUser {
    int recordNumber = 0;
    QList<QByteArray> fields;
};
std::optional<FoundUser> FindUser(const QString& usersPath, const QString& name,
                                  QString* problem = nullptr);
// Scans a record file that may be missing: a missing file has no records and no problem; one
// that cannot be read has its refusal in `problem`.
int ScanPresentRecords(const QString& path, const RecordType& type,
                       const std::function<bool(int, const QStringList&)>& visit, QString* problem);
// The record number that a typed slot gives: a positive whole number that a record number
// holds (16 bits), nothing otherwise.
std::optional<int> SlotNumber(const QString& text);

// Software settings as saved: fields 1-21 and 27 as they were read (empty for a new file),
// 26 the installation code's bytes.
struct SoftwareSettingsInput {
    QList<QByteArray> before;  // record 1 as read; empty for a new file
    QByteArray installationCode;
    int selectedUser = -1;
    QString date, retries, timeout;
};
QList<QByteArray> SoftwareSettingsFields(const SoftwareSettingsInput& in);

}  // namespace morla
