// Code page 437 (the DOS character set older acquisition software stored its
// texts in) to Windows-1252, the character set of every later file. Characters
// without an equivalent take the nearest look-alike, as the system's own
// conversion does.
#include "abf/AbfInternal.h"

namespace {

// Windows-1252 byte for each code page 437 byte from 0x80 on.
// clang-format off
constexpr unsigned char kOemHigh[128] = {
    // 0x80: Ç ü é â ä à å ç ê ë è ï î ì Ä Å
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7,
    0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    // 0x90: É æ Æ ô ö ò û ù ÿ Ö Ü ¢ £ ¥ ₧ ƒ
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9,
    0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 'P', 0x83,
    // 0xA0: á í ó ú ñ Ñ ª º ¿ ⌐ ¬ ½ ¼ ¡ « »
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA,
    0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    // 0xB0: shades and box drawing
    '#', '#', '#', '|', '+', '+', '+', '+',
    '+', '+', '|', '+', '+', '+', '+', '+',
    // 0xC0: box drawing
    '+', '+', '+', '+', '-', '+', '+', '+',
    '+', '+', '+', '+', '+', '=', '+', '+',
    // 0xD0: box drawing and blocks
    '+', '+', '+', '+', '+', '+', '+', '+',
    '+', '+', '+', '#', '#', '#', '#', '#',
    // 0xE0: α ß Γ π Σ σ µ τ Φ Θ Ω δ ∞ φ ε ∩
    'a', 0xDF, 'G', 'p', 'S', 's', 0xB5, 't',
    'F', 'T', 'O', 'd', '8', 'f', 'e', 'n',
    // 0xF0: ≡ ± ≥ ≤ ⌠ ⌡ ÷ ≈ ° ∙ · √ ⁿ ² ■ nbsp
    '=', 0xB1, '>', '<', '(', ')', 0xF7, '~',
    0xB0, 0xB7, 0xB7, 'v', 'n', 0xB2, '#', 0xA0,
};
// clang-format on

} // namespace

void AbfOemToAnsi(char* text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            text[i] = static_cast<char>(kOemHigh[c - 0x80]);
    }
}
