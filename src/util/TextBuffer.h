// The owning, growable, NUL-terminated byte buffer used for every variable-length
// text. Text is ANSI in code page 932 and every length is a byte count.
#pragma once

#include <cstdint>
#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#endif

// True for a byte that starts a two-byte character in code page 932.
inline bool isLeadByte932(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Copies at most n bytes like the code-page-aware _mbsnbcpy: stops after a NUL,
// never leaves half a character (a lead byte that would be the last byte copied,
// or that is followed by NUL, becomes NUL) and pads the rest of the n bytes with NUL.
void copyCharsBounded(char* dest, const char* src, size_t n);

struct TextBuffer {
    char* data = nullptr;
    uint32_t capacity = 0;

    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { release(); }

    bool reserve(uint32_t n);
    void release();
    TextBuffer& assign(const char* text);
    bool assignBytes(const char* bytes, uint32_t n);
    bool assignBuffer(const TextBuffer& source);
    bool assignFirstLine(const TextBuffer& source);
    bool append(const char* text);
    bool appendChar(char c);
    char* collapseBlanks();

    // The text, or an empty string for an empty buffer.
    const char* c_str() const { return data ? data : ""; }
    uint32_t length() const;
    bool empty() const { return !data || !*data; }

#ifdef _WIN32
    bool readDlgItem(HWND dialog, int controlId);
    bool loadString(UINT stringId);
#endif
};
