#include "editors/two_digits.h"

void AppendTwoDigits(std::string& line, int value) {
    value %= 100;
    if (value < 0) value += 100;
    line += static_cast<char>('0' + value / 10);
    line += static_cast<char>('0' + value % 10);
}

std::string TwoDigits(int value) {
    std::string text;
    AppendTwoDigits(text, value);
    return text;
}
