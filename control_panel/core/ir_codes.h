#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The IR remote page without widgets: the keypad's codes, the code sequence
// in its text form and its check.
namespace ir_codes {

// 0x00 in a sequence is a pause of one second, not a key.
constexpr quint8 kPause = 0x00;

struct key
{
    const char *button;   // the keypad button's object name
    quint8 code;
};
// The 65 keypad buttons with the codes they send.
const QVector<key> &keypad();

// |text| with |code| appended as two uppercase hexadecimal digits, after a
// space unless it is empty or already ends with one.
QString append(const QString &text, quint8 code);

// A sequence's codes and its normal form: tokens that are not hexadecimal
// numbers up to FF are dropped.
struct sequence
{
    QByteArray codes;
    QString normal;
};
sequence parse(const QString &text);

// What the sequence text is: not to be typed, still being typed (an empty
// token, or one that is not a number), or ready to send.
enum class check { invalid, intermediate, acceptable };
check validate(const QString &text);

} // namespace ir_codes
