#pragma once
// Fixed-length record files of text fields: record n at (n - 1) * L, each field a 16-bit
// little-endian byte count and that many ANSI (Windows-1252) bytes, zero fill to L.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/codec/text.h"  // fields are code-page text

namespace morla {

// Finds an existing file or folder whatever the letter case of each component; when
// nothing matches, returns the path as written (so a writer creates it with that spelling).
QString ResolvePath(const QString& path);
// Joins path components with the platform's separator, names kept as written.
QString JoinPath(const QString& base, const QString& rest);

bool FileExists(const QString& path);
bool DeleteFile(const QString& path);

struct RecordRead {
    QStringList fields;  // always exactly K entries
    bool eof = false;    // the record lay beyond the end of the file
    bool ok = true;      // false when the file could not be opened or was refused
    QString cause;       // why not ("No existe", "Es una carpeta", its size, ...)
};

// No file of the program holds more records than the largest record number it uses (the
// user slot's limit), so a file larger than that many records is not one of its files: it is
// refused unread, whatever it is.
inline constexpr int kMaxRecordNumber = 32767;
inline qint64 RecordFileBound(int recordLength) {
    return qint64(kMaxRecordNumber) * recordLength;
}
// "No se lee <path>: <cause>", for a read that was refused.
QString ReadRefusal(const QString& path, const QString& cause);

struct RecordWriteResult {
    bool ok = false;
    QString error;  // why the record was refused or the file could not be written, with its path
};

// Bytes that the fields take in a record.
int RecordSize(const QStringList& fields);

RecordRead ReadRecord(const QString& path, int recordLength, int fieldCount, int recordNumber);
// The fields of one record's bytes (always fieldCount of them), and the bytes of a record of
// recordLength for the fields, or nothing with the reason (naming path) when they cannot be
// stored.
QStringList DecodeRecord(const QByteArray& record, int fieldCount);
std::optional<QByteArray> EncodeRecord(const QString& path, int recordLength,
                                       const QStringList& fields, QString* error);
// Every save writes the new content beside the file, checks that all of it reached the disk
// and then replaces the file in one step; on any failure the old file stays byte for byte.
// Refused: fields with characters the code page cannot hold, a record too long, a file that
// is a symbolic link, a read-only file, a file too large to be a record file. With `within`
// (the program folder), also a file whose real folder, links followed, lies outside it.
RecordWriteResult WriteRecord(const QString& path, int recordLength, const QStringList& fields,
                              int recordNumber, const QString& within = {});

// The same, with each field's bytes exactly as the file holds them (no code page).
struct RecordBytes {
    QList<QByteArray> fields;  // always exactly K entries
    bool eof = false;
    bool ok = true;
    QString cause;
};
RecordBytes ReadRecordBytes(const QString& path, int recordLength, int fieldCount,
                            int recordNumber);
RecordWriteResult WriteRecordBytes(const QString& path, int recordLength,
                                   const QList<QByteArray>& fields, int recordNumber,
                                   const QString& within = {});
// Number of whole or partial records in the file (0 when missing).
int RecordCount(const QString& path, int recordLength);

// Reads records 1, 2, ... to the end of the file; calls visit for each record whose first
// field is not empty. visit returns false to stop. Returns the last record number read. A
// file that cannot be read or is refused (see ReadRecord) is not read; `cause` says why.
int ScanRecords(const QString& path, int recordLength, int fieldCount,
                const std::function<bool(int number, const QStringList& fields)>& visit,
                QString* cause = nullptr);

// Record types of the program's files.
struct RecordType {
    const char* name;
    int length;  // L
    int fields;  // K
};
inline constexpr RecordType ModelConfigRecord{"ModelConfigRecord", 1000, 57};
inline constexpr RecordType EquipmentIndexRecord{"EquipmentIndexRecord", 50, 2};
inline constexpr RecordType SoftwareSettingsRecord{"SoftwareSettingsRecord", 1000, 27};
inline constexpr RecordType UserRecord{"UserRecord", 1000, 4};
inline constexpr RecordType CommandRecord{"CommandRecord", 1000, 3};
inline constexpr RecordType LastSentRecord{"LastSentRecord", 1500, 7};
inline constexpr RecordType OperatorCredentialsRecord{"OperatorCredentialsRecord", 1000, 2};

// Replaces the whole file by this one record (files that hold only the latest record).
RecordWriteResult ReplaceRecordFile(const QString& path, const RecordType& type,
                                    const QStringList& fields, const QString& within = {});

// Replaces a whole file of any content, with the same care; the path is taken as given.
RecordWriteResult ReplaceFile(const QString& path, const QByteArray& content);

// Adds a line (its bytes with their line end) at the end of a log file, made when missing,
// with `header` first when the file is empty. All or nothing: when not every byte reaches the
// disk the file is cut back to its size before. A file that ends inside a line (a write cut
// short by a crash) loses that piece first, so every line of the file is whole. Only a
// regular file of its own (no link) is appended to.
RecordWriteResult AppendLine(const QString& path, const QByteArray& line,
                             const QByteArray& header = {});

inline RecordRead ReadRecord(const QString& path, const RecordType& t, int n = 1) {
    return ReadRecord(path, t.length, t.fields, n);
}
inline RecordWriteResult WriteRecord(const QString& path, const RecordType& t, const QStringList& f,
                                     int n = 1, const QString& within = {}) {
    return WriteRecord(path, t.length, f, n, within);
}

inline RecordBytes ReadRecordBytes(const QString& path, const RecordType& t, int n = 1) {
    return ReadRecordBytes(path, t.length, t.fields, n);
}
inline RecordWriteResult WriteRecordBytes(const QString& path, const RecordType& t,
                                          const QList<QByteArray>& f, int n = 1,
                                          const QString& within = {}) {
    return WriteRecordBytes(path, t.length, f, n, within);
}

// Paths of the program's files, from the program folder and the data folder ("\Utilerias").
struct Paths {
    QString AppFolder;
    QString DataFolder = QStringLiteral("Utilerias");

    QString equipmentFolder() const;  // <App>/Utilerias/Generales/Equipos
    QString modelConfig(const QString& fileBase, const QString& firmwareCode) const;
    QString equipmentIndex() const;
    QString softwareSettings() const;
    QString users() const;
    QString commands() const;
    QString lastSent() const;
    QString operatorCredentials() const;
    QString images() const;
};

// Whether a file name is the temporary file of a save that never finished.
bool IsLeftoverSave(const QString& fileName);
// Removes such files from one folder / from every folder the program saves into. Returns how
// many were removed.
int RemoveLeftoverSaves(const QString& folder);
int RemoveLeftoverSaves(const Paths& paths);

// Short date text as the system writes it into records.
QString ShortDateText();

}  // namespace morla
