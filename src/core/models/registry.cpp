#include "core/models/registry.h"

#include <array>

namespace morla {

namespace {
constexpr std::array<ModelInfo, 8> kModels{{
    {ModelId::Sorvanell, u"Sorvanell", u"04", u"Sorvanell", "MorFraAle", 138, u"04", u"12",
     ChecksumPolicy::None, true, 5, 3},
    {ModelId::Luvero, u"Lúvero", u"00", u"Luvero", "MorFraBas", 138, u"05", u"30",
     ChecksumPolicy::RetryRead, true, 4},
    {ModelId::Zentavira, u"Zentavira", u"05", u"Zentavira", "MorFraUni", 270, u"05", u"30",
     ChecksumPolicy::ReportOnly, true, 4},
    {ModelId::Haldrivonexa, u"Haldrivonexa", u"03", u"Haldrivonexa", "MorFraMult", 138, u"03",
     u"30", ChecksumPolicy::RetryRead, true, 4},
    {ModelId::Quarn, u"Quarn", u"0:", u"Quarn", "MorFraFlh", 270, u"05", u"30",
     ChecksumPolicy::DropSilently, true, 5},
    {ModelId::Pellitor, u"Pellitor", u"02", u"Pellitor", "MorFraCon", 270, u"02", u"15",
     ChecksumPolicy::DropSilently, true, 5, 0, true},
    {ModelId::Tervolinda, u"Tervolinda", u"08", u"Tervolinda", "MorFraPriv", 140, u"", u"72",
     ChecksumPolicy::None, false, 4},
    {ModelId::Kovalindre, u"Kovalindre", u"06", u"Kovalindres", "MorFraMulClv", 270, u"05", u"30",
     ChecksumPolicy::DropSilently, true, 5},
}};
}  // namespace

std::span<const ModelInfo> Models() {
    return kModels;
}

// Compared in place: the receive path asks for every character of a reply.
const ModelInfo* ModelByCode(const QString& modelCode) {
    for (const ModelInfo& m : kModels)
        if (QStringView(m.modelCode) == modelCode) return &m;
    return nullptr;
}

const ModelInfo* ModelByDispatchName(const QString& name) {
    for (const ModelInfo& m : kModels)
        if (QStringView(m.dispatchName) == name) return &m;
    return nullptr;
}

const ModelInfo& Model(ModelId id) {
    for (const ModelInfo& m : kModels)
        if (m.id == id) return m;
    return kModels[0];
}

QString InstallationClassCode(const QString& installationClass) {
    if (installationClass == QStringLiteral("Dravenquista")) return QStringLiteral("09");
    if (installationClass == QStringLiteral("Distribuidor")) return QStringLiteral("01");
    if (installationClass == QStringLiteral("GrandeUsuario")) return QStringLiteral("02");
    return {};
}

QString InstallationClassFromTitle(const QString& title) {
    return title.mid(11);
}

}  // namespace morla
