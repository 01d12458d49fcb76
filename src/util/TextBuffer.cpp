#include "util/TextBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

void copyCharsBounded(char* dest, const char* src, size_t n) {
    size_t i = 0;
    while (i < n) {
        const char c = src[i];
        if (isLeadByte932(static_cast<unsigned char>(c))) {
            if (i + 1 == n || src[i + 1] == '\0') {
                dest[i++] = '\0';
                break;
            }
            dest[i] = c;
            dest[i + 1] = src[i + 1];
            i += 2;
        } else {
            dest[i++] = c;
            if (c == '\0') break;
        }
    }
    while (i < n) dest[i++] = '\0';
}

bool TextBuffer::reserve(uint32_t n) {
    // n + 1 must not wrap: such a size can never be obtained.
    if (n == UINT32_MAX) return false;
    if (data && capacity >= n + 1) return true;
    char* block = static_cast<char*>(::operator new(static_cast<size_t>(n) + 1, std::nothrow));
    if (!block) return false;
    if (data) {
        std::memcpy(block, data, capacity);
        ::operator delete(data);
    } else {
        block[0] = '\0';
    }
    data = block;
    capacity = n + 1;
    return true;
}

void TextBuffer::release() {
    ::operator delete(data);
    data = nullptr;
    capacity = 0;
}

uint32_t TextBuffer::length() const {
    return data ? static_cast<uint32_t>(strnlen(data, capacity)) : 0;
}

TextBuffer& TextBuffer::assign(const char* text) {
    const size_t length = std::strlen(text);
    if (length > 0 && length < UINT32_MAX && reserve(static_cast<uint32_t>(length))) {
        std::memcpy(data, text, length);
        data[length] = '\0';
    } else if (data) {
        data[0] = '\0';
    }
    return *this;
}

bool TextBuffer::assignBytes(const char* bytes, uint32_t n) {
    if (!reserve(n)) {
        if (data) data[0] = '\0';
        return false;
    }
    copyCharsBounded(data, bytes, n);
    data[n] = '\0';
    return true;
}

bool TextBuffer::assignBuffer(const TextBuffer& source) {
    if (&source == this) return true;
    if (source.empty()) {
        release();
        return true;
    }
    const uint32_t length = source.length();
    if (!reserve(length + 1)) return false;
    std::memcpy(data, source.data, length + 1);
    return true;
}

bool TextBuffer::assignFirstLine(const TextBuffer& source) {
    if (source.empty()) {
        if (data) data[0] = '\0';
        return true;
    }
    uint32_t n = 0;
    while (n < source.capacity && source.data[n] != '\0') {
        if (source.data[n] == '\r' && n + 1 < source.capacity && source.data[n + 1] == '\n') break;
        ++n;
    }
    if (&source == this) {
        data[n] = '\0';
        return true;
    }
    if (capacity < n + 1) {
        release();
        if (!reserve(n + 1)) return false;
    }
    std::memcpy(data, source.data, n);
    data[n] = '\0';
    return true;
}

bool TextBuffer::append(const char* text) {
    const size_t added = std::strlen(text);
    if (added == 0) return true;
    const size_t current = length();
    const size_t total = current + added;
    if (total >= UINT32_MAX - 1) return false;
    if (capacity < total + 1 && !reserve(static_cast<uint32_t>(total + 1))) return false;
    std::memcpy(data + current, text, added + 1);
    return true;
}

bool TextBuffer::appendChar(char c) {
    if (c == '\0') return true;
    const uint32_t current = length();
    if (capacity < current + 2 && !reserve(current + 2)) return false;
    data[current] = c;
    data[current + 1] = '\0';
    return true;
}

char* TextBuffer::collapseBlanks() {
    if (!data) return nullptr;
    char* out = data;
    bool atStart = true;
    bool inBlanks = false;
    for (uint32_t i = 0; i < capacity; ++i) {
        const char c = data[i];
        if (c == '\0') {
            if (inBlanks && !atStart) *out++ = ' ';
            *out = '\0';
            return out;
        }
        if (c == ' ' || c == '\t') {
            inBlanks = true;
            continue;
        }
        if (inBlanks && !atStart) *out++ = ' ';
        inBlanks = false;
        atStart = false;
        *out++ = c;
    }
    // No NUL within the block (capacity 0, or a damaged block): nothing to end.
    return capacity == 0 ? data : nullptr;
}
