#include "hole/field_reader.h"

#include <climits>

bool FieldReader::at_end()
{
    int c = std::fgetc(file_);
    if (c == EOF) return true;
    std::ungetc(c, file_);
    return false;
}

bool FieldReader::next(std::string& field, size_t maxKept)
{
    field.clear();
    lastTerminated_ = false;
    int c = std::fgetc(file_);
    if (c == EOF) return false;
    while (c != EOF && c != '*') {
        if (field.size() < maxKept) field.push_back(static_cast<char>(c));
        c = std::fgetc(file_);
    }
    lastTerminated_ = c == '*';
    return true;
}

int parse_decimal(std::string_view text)
{
    size_t k = 0;
    while (k < text.size() && (text[k] == ' ' || (text[k] >= '\t' && text[k] <= '\r'))) ++k;
    bool negative = false;
    if (k < text.size() && (text[k] == '-' || text[k] == '+')) {
        negative = text[k] == '-';
        ++k;
    }
    long long value = 0;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9') {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[k] - '0');
        ++k;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
