#include "core/fields/rules.h"

#include <optional>

#include "core/models/registry.h"

namespace morla::fields {

namespace {

constexpr const char16_t* kClave = u"ERROR EN LA CLAVE";
constexpr const char16_t* kContador = u"ERROR EN EL CONTADOR";
constexpr const char16_t* kMorla = u"MORLA";
constexpr const char16_t* kNumeros = u"Solo se admiten numeros";

// clang-format off
constexpr BoxRule kBoxes[] = {
    // Pellitor
    {"MorTexConClv",       4, 5, Rule::D,         kClave,    kNumeros},
    {"MorTexConLDC",       0, 3, Rule::D,         kContador, kNumeros},
    {"MorTexConLDNP",      0, 3, Rule::D,         kContador, kNumeros},
    {"MorTexConLDT",       0, 3, Rule::D255Last3, kClave,    kNumeros},
    // Memory numbers take "#" as well: a read shows what the device holds.
    {"MorTexConNumTel",    5, 16, Rule::DSH,      nullptr,   nullptr},
    {"MorTexConSMC",       0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTexConSMNP",      0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTexConSMT",       0, 3, Rule::D255Last3, kClave,    kNumeros},
    // Quarn
    {"MorTexFlhClv",       4, 5, Rule::D,         kClave,    kNumeros},
    {"MorTexFlhCon",       0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTexFlhDurP",      0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTexFlhLimSerMed", 0, 3, Rule::D255Last3, kClave,    kNumeros},
    {"MorTexFlhNumTel",   10, 16, Rule::DSH,      nullptr,   nullptr},
    // Kovalindre: the rules of the matching Quarn boxes
    {"MorTxtMulClvClv",   24, 5, Rule::D,         kClave,    kNumeros},
    {"MorTxtMulClvCon",    0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTxtMulClvDurP",   0, 3, Rule::D,         kClave,    kNumeros},
    {"MorTexMulClvDurL",   0, 3, Rule::D255Last3, kClave,    kNumeros},
    {"MorTexMulClvNumTel", 4, 16, Rule::DSH,      nullptr,   nullptr},
    // Haldrivonexa
    {"MorTexMultCon",      0, 3, Rule::DSH,       nullptr,   nullptr},
    {"MorTexMultDurP",     0, 3, Rule::D255Whole, kMorla,    kNumeros},
    {"MorTexMultDurL",     0, 3, Rule::D255Whole, kMorla,    kNumeros},
    // Zentavira
    {"MorTexUniCon",       0, 3, Rule::DSH,       nullptr,   nullptr},
    {"MorTexUniDurP",      0, 3, Rule::D255Whole, kMorla,    kNumeros},
    {"MorTexUniDurL",      0, 3, Rule::D255Whole, kMorla,    kNumeros},
    // Memories hold "*" and "#" as the device can.
    {"MorTxtUniMe16",     10, 16, Rule::DSH,      nullptr,   nullptr},
    {"MorTxtUniMe4",      14, 4, Rule::DSH,       nullptr,   nullptr},
    // Sorvanell: the count of interventions is one byte in the device
    {"MorTexAleNumInter",  0, 3, Rule::D255Whole, kMorla,    kNumeros},
    // Common fields of every model
    {"MorTexResCla",       0, 0, Rule::Key,       kClave,    kNumeros},
    // Tervolinda
    {"MorTxtPrivClvSal",   0, 4, Rule::Exit,      kClave,    kNumeros},
    // Common fields of every model
    {"MorTexBan",          0, 0, Rule::Flags,     nullptr,   nullptr},
};
// clang-format on

constexpr BoxRule kKeyChangeEntry{"MorTextCanCka", 0, 0, Rule::Key, kClave, kNumeros};

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool allowed(Rule rule, QChar c, int place, const RuleContext& context) {
    switch (rule) {
        case Rule::D:
        case Rule::D255Whole:
        case Rule::D255Last3:
        case Rule::Exit:
            return isDigit(c);
        case Rule::DS:
            return isDigit(c) || c == u'*';
        case Rule::DSH:
            return isDigit(c) || c == u'*' || c == u'#';
        case Rule::Key: {
            // A key with a "*" inside (the Sorvanell's, at its third place) leaves that place
            // unchecked.
            const ModelInfo* m = ModelByCode(context.modelCode);
            return isDigit(c) || (m && m->keyStarAt == place);
        }
        case Rule::Flags:
            return true;
    }
    return true;
}

// Title and text of the message for a refused character.
Repair refusal(const BoxRule& box, QString text) {
    switch (box.rule) {
        case Rule::DS:
            return {QStringLiteral("Solo se admiten numeros y *"), QString::fromUtf16(kClave),
                    std::move(text)};
        case Rule::DSH:
            return {QStringLiteral("Solo se admiten numeros, * y #"), QString::fromUtf16(kClave),
                    std::move(text)};
        default:
            return {QString::fromUtf16(box.message), QString::fromUtf16(box.title),
                    std::move(text)};
    }
}

// Digits only: more than 255 without reading a number that could overflow.
bool above255(const QString& digits) {
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == u'0') ++first;
    const QString significant = digits.mid(first);
    return significant.size() > 3 || (!significant.isEmpty() && significant.toInt() > 255);
}

// The first repair that `text` needs, if any.
std::optional<Repair> judgeOnce(const BoxRule& box, const QString& text,
                                const RuleContext& context) {
    // A refused character goes wherever it stands; places count in the text that remains.
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (allowed(box.rule, c, int(kept.size()) + 1, context)) kept.append(c);
    if (kept != text) return refusal(box, kept);

    switch (box.rule) {
        case Rule::D255Whole:
        case Rule::D255Last3: {
            const QString number = box.rule == Rule::D255Whole ? text : text.right(3);
            if (above255(number))
                return Repair{QStringLiteral("El límite es 255"), QStringLiteral("ERROR EN TIEMPO"),
                              QString()};
            break;
        }
        case Rule::Key:
            if (text.startsWith(u'0'))
                return Repair{QStringLiteral("No se admite 0 al inicio de clave"),
                              QString::fromUtf16(kClave), QString()};
            break;
        case Rule::Exit:
            if (text == u"0" || text == u"1" || text == u"8" || text == u"9")
                return Repair{QStringLiteral("Número prohibido"),
                              QStringLiteral("MORLA ESTA ENOJADO"), text.chopped(1)};
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::span<const BoxRule> BoxTable() {
    return kBoxes;
}

const BoxRule* FindBoxRule(const QString& name) {
    for (const BoxRule& box : kBoxes)
        if (name == QLatin1String(box.name)) return &box;
    return nullptr;
}

const BoxRule& KeyChangeEntryRule() {
    return kKeyChangeEntry;
}

QVector<Repair> Judge(const BoxRule& box, const QString& text, const RuleContext& context) {
    QVector<Repair> repairs;
    QString current = text;
    // Every repair shortens the text, so this ends.
    while (std::optional<Repair> r = judgeOnce(box, current, context)) {
        for (const Repair& earlier : repairs)
            if (earlier.message == r->message && earlier.title == r->title) r->message.clear();
        current = r->text;
        repairs.append(*std::move(r));
    }
    return repairs;
}

QString Repaired(const QString& text, const QVector<Repair>& repairs) {
    return repairs.isEmpty() ? text : repairs.last().text;
}

std::array<bool, 9> RestrictionTicks(const QString& flags) {
    std::array<bool, 9> ticks{};
    for (int k = 0; k < 9; ++k) ticks[k] = k < flags.size() && flags[k] == u'1';
    return ticks;
}

int CaretAfterRepair(const QString& before, const QString& after, int caret) {
    int kept = 0;      // characters of `after` matched so far
    int keptLeft = 0;  // of them, those left of the caret
    for (int i = 0; i < before.size() && kept < after.size(); ++i) {
        if (before[i] != after[kept]) continue;
        ++kept;
        if (i < caret) ++keptLeft;
    }
    return kept == after.size() ? keptLeft : int(after.size());
}

}  // namespace morla::fields
