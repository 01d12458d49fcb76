// A thin wrapper over the registry of the current user, for the clock's settings.
#pragma once

#include <windows.h>

#include <cstdint>

// Opens HKEY_CURRENT_USER\subKey for reading; null when it cannot be opened.
HKEY regOpenForRead(const char* subKey);
// Opens HKEY_CURRENT_USER\subKey for writing, creating it and its parents when
// missing; null on failure.
HKEY regOpenForWrite(const char* subKey);
bool regClose(HKEY key);

// The value read into a 4-byte buffer that starts as `defaultValue`, whatever
// its stored type: a shorter value replaces only the low-order bytes. A value
// that is missing or longer than 4 bytes gives `defaultValue`.
uint32_t regReadDword(HKEY key, const char* name, uint32_t defaultValue);
bool regWriteDword(HKEY key, const char* name, uint32_t value);

// Reads at most *length bytes into `buffer`, whatever the stored type; *length
// becomes the stored size. False when the value is missing or does not fit, and
// the buffer's content is then not to be used.
bool regReadBinary(HKEY key, const char* name, void* buffer, DWORD* length);
bool regWriteBinary(HKEY key, const char* name, const void* bytes, DWORD length);
