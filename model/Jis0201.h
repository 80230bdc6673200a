#pragma once
#include <cstdint>

// JIS X 0201, the character set of JIS-8 items: ASCII except that 0x5C is
// the yen sign and 0x7E the overline, and 0xA1 to 0xDF half-width katakana.
// One table for every text that shows J items and every reader of them.

// The character of a byte; 0 for bytes JIS X 0201 leaves undefined.
constexpr char32_t Jis0201ToUnicode(unsigned char b) {
    if (b == 0x5C) return 0xA5;
    if (b == 0x7E) return 0x203E;
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);
    return 0;
}

// The byte of a character, or -1 where JIS X 0201 has none. A backslash and
// a tilde map to themselves so that text typed on a keyboard still reads.
constexpr int UnicodeToJis0201(char32_t c) {
    if (c == 0xA5) return 0x5C;
    if (c == 0x203E) return 0x7E;
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0xFF61 && c <= 0xFF9F) return static_cast<int>(c - 0xFF61 + 0xA1);
    return -1;
}
