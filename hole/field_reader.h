// Reading the game's '*'-ended text fields, bounded: a field keeps at most a fixed number of
// characters and the rest up to its '*' is skipped, so no file can overrun or hang a reader.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class FieldReader {
public:
    explicit FieldReader(std::FILE* file) : file_(file) {}

    // True when no character is left.
    bool at_end();
    // Reads the characters up to the next '*' (consumed, not kept), keeping at most maxKept.
    // Returns false when the file had already ended before the field began.
    bool next(std::string& field, size_t maxKept);
    // True when the last field read ended with its '*' (not cut short by the end).
    bool last_terminated() const { return lastTerminated_; }

private:
    std::FILE* file_;
    bool lastTerminated_ = false;
};

// Decimal conversion as the game's files use it: leading white space skipped, an optional
// sign, the digits that follow; stops at the first other character; no digits gives 0.
// Values beyond the int range are clamped.
int parse_decimal(std::string_view text);
