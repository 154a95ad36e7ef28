#include "devsim/models/behaviour.h"

#include <array>

namespace morla::devsim {

namespace {
const ModelBehaviour kBlank{};

struct NamedModel {
    const char* name;
    ModelId id;
};
constexpr std::array<NamedModel, 8> kNames{{
    {"luvero", ModelId::Luvero},
    {"sorvanell", ModelId::Sorvanell},
    {"zentavira", ModelId::Zentavira},
    {"haldrivonexa", ModelId::Haldrivonexa},
    {"quarn", ModelId::Quarn},
    {"pellitor", ModelId::Pellitor},
    {"tervolinda", ModelId::Tervolinda},
    {"kovalindre", ModelId::Kovalindre},
}};
}  // namespace

const ModelBehaviour& BehaviourOf(ModelId id) {
    switch (id) {
        case ModelId::Luvero:
            return kLuveroBehaviour;
        case ModelId::Sorvanell:
            return kSorvanellBehaviour;
        case ModelId::Tervolinda:
            return kTervolindaBehaviour;
        case ModelId::Zentavira:
            return kZentaviraBehaviour;
        case ModelId::Haldrivonexa:
            return kHaldrivonexaBehaviour;
        case ModelId::Quarn:
        case ModelId::Pellitor:
        case ModelId::Kovalindre:
            return kLongReplyBehaviour;
        default:
            return kBlank;
    }
}

MemoryImage FactoryImage(const ModelInfo& model, const QString& firmwareDecimal) {
    MemoryImage image = MemoryImage::Blank(model, firmwareDecimal);
    if (const auto factory = BehaviourOf(model.id).factory) factory(image);
    image.refreshChecksums();
    return image;
}

const ModelInfo* ModelByOptionName(const QString& name) {
    QString plain = name.toLower();
    plain.replace(QChar(u'ú'), QChar(u'u'));
    for (const NamedModel& n : kNames)
        if (plain == QLatin1String(n.name)) return &Model(n.id);
    return nullptr;
}

QStringList ModelOptionNames() {
    QStringList names;
    for (const NamedModel& n : kNames) names << QLatin1String(n.name);
    return names;
}

}  // namespace morla::devsim
