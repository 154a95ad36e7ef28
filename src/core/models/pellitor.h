#pragma once
// Pellitor: two call counts (metered service and long distance), each with its allowed calls
// and duration, five memory numbers, keys 2 to 5, the trunk option and the digits of a local
// call. Its firmware travels as two characters both ways.
#include <QStringList>

#include "core/models/longreply.h"

namespace morla::pellitor {

const layout::Layout& Layout();
std::span<const longreply::Command> Commands();
std::span<const longreply::RecordFill> RecordFills();
// The items of the local-call list.
QStringList LocalDigitItems();

QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey);

}  // namespace morla::pellitor
