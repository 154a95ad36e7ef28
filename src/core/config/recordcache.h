#pragma once
// A record read from disk again only when its file has changed since the last read: every save
// of this program puts a new file in place, and an edit elsewhere changes its size or time.
#include "core/config/recordfile.h"

namespace morla {

RecordRead ReadRecordCached(const QString& path, const RecordType& type, int recordNumber = 1);

}  // namespace morla
