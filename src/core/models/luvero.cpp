#include "core/models/luvero.h"

#include "core/codec/codec.h"

namespace morla::luvero {

QString DecodeKey(const QString& map) {
    return NumberDigits(map.mid(10, kKeyLength));
}

QString DecodeFlags(const QString& map) {
    return DecodeOptions(map, kOptionBits, 6);
}

Frame BuildFrame(const FrameInput& in) {
    // A short key keeps its width with "F": the fields after it stay in place.
    const QString key = in.key.left(kKeyLength).leftJustified(kKeyLength, 'F');
    const QString digits = EncodeOptionDigits(in.flags, kOptionBits, 17, 4);
    const QString body =
        FrameHeader(QStringLiteral("05"), in.firmwareBox, in.classCode, in.installationCode) + key +
        QStringLiteral("66") + digits + QStringLiteral("6E") + QString(106, 'F');
    return {CloseSingleBlock(body), in.installationCode + key + QStringLiteral("FF") + digits};
}

QString OptionCommandCode(const QString& commandNumber) {
    static const char* codes[] = {"#1", "#3", "#4", "#5", "#6", "#9"};
    if (!IsWholeNumber(commandNumber)) return {};
    const long long n = ValOf(commandNumber);
    return n >= 1 && n <= 6 ? QString::fromLatin1(codes[n - 1]) : QString();
}

}  // namespace morla::luvero
