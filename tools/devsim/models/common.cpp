#include "devsim/models/common.h"

namespace morla::devsim {

bool AllDecimal(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool AllHex(const QString& text) {
    for (QChar c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

bool DialText(const QString& typed, int width) {
    if (typed.size() > width) return false;
    for (QChar c : typed)
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#')) return false;
    return true;
}

QString DialDigits(const QString& typed, int width) {
    QString out;
    for (QChar c : typed)
        out += c == '0' ? QChar('A') : c == '*' ? QChar('B') : c == '#' ? QChar('C') : c;
    return out.leftJustified(width, 'F', true);
}

QString StoredDial(const QString& sent) {
    QString out;
    for (QChar c : sent) {
        if (c == 'F')
            out += c;
        else if (DialText(QString(c), 1))
            out += DialDigits(QString(c), 1);
        else
            return {};
    }
    return out;
}

QString SpacedNumber(const QString& typed) {
    QString out;
    for (QChar c : typed.rightJustified(3, '0')) out += QStringLiteral("0") + c;
    return out;
}

std::optional<Result> ApplyTimingCommand(MemoryImage& image, const QString& code,
                                         const QStringList& fields, const TimingPlaces& at) {
    const QString value = fields.value(2);
    if (code == QLatin1String("#21") || code == QLatin1String("#22")) {
        if (fields.size() != 3 || value.isEmpty() || value.size() > 3 || !AllDecimal(value) ||
            value.toInt() > 255)
            return Result{Outcome::Rejected,
                          QStringLiteral("duration %1 is not 0 to 255").arg(value)};
        const bool free = code == QLatin1String("#22");
        image.set(free ? at.freeAt : at.prohibitedAt, SpacedNumber(value));
        return Result{Outcome::Applied,
                      QStringLiteral("%1 duration %2").arg(free ? "free" : "prohibited", value)};
    }
    if (code != QLatin1String("#23")) return std::nullopt;
    if (fields.size() != 5)
        return Result{Outcome::Rejected, QStringLiteral("not three trunk digits")};
    QString digits;
    for (int i = 2; i < 5; ++i) {
        if (fields[i] == QLatin1String("F")) {
            digits += QStringLiteral("0F");
            continue;
        }
        if (fields[i].isEmpty() || !DialText(fields[i], 1))
            return Result{Outcome::Rejected, QStringLiteral("trunk digit %1").arg(fields[i])};
        digits += QStringLiteral("0") + DialDigits(fields[i], 1);
    }
    image.set(at.trunkAt, digits);
    return Result{Outcome::Applied, QStringLiteral("trunk digits %1").arg(digits)};
}

}  // namespace morla::devsim
