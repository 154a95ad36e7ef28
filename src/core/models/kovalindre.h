#pragma once
// Kovalindre: twenty-five keys (key 1 in the common key box), four memory numbers, counter,
// two durations and the trunk option. The frame holds keys 1 to 21; SendData all 25.
#include "core/models/longreply.h"

namespace morla::kovalindre {

inline constexpr int kPanelKeys = 24;  // keys 2 to 25

const layout::Layout& Layout();
std::span<const longreply::Command> Commands();
std::span<const longreply::RecordFill> RecordFills();

QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey);

}  // namespace morla::kovalindre
