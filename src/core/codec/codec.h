#pragma once
// Digit, hex and nibble helpers: the device exchanges everything as text of hex digits,
// phone digits with "A" for 0, "B" for "*", "C" for "#", options four to a digit.
#include <QString>

namespace morla {

QString DigitToHex(int n);
int HexToDigit(const QString& ch);
QString HexToDec(const QString& twoDigits);
QString DecToHex2(const QString& decimal);
QString DecToHex4(const QString& decimal);
QString BitsToHex(const QString& bits);
QString HexToBits(const QString& hex);
QString MapToKeyDigits(const QString& digits);
QString MapToDialDigits(const QString& digits);
QString CheckDigits(const QString& text);
QString CheckDigitsSkip3(const QString& text);
QString FrameChecksum(const QString& hexPairs);

// Whole-number reading as the original platform's Val(): leading blanks skipped, then an
// optional sign and digits; anything else ends the number. Empty gives 0.
long long ValOf(const QString& text);
// True when the text is a whole number (optional blanks and sign, digits only).
bool IsWholeNumber(const QString& text);

}  // namespace morla
