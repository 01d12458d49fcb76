#include "settings/Registry.h"

HKEY regOpenForRead(const char* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

HKEY regOpenForWrite(const char* subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool regClose(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }

uint32_t regReadDword(HKEY key, const char* name, uint32_t defaultValue) {
    DWORD buffer = defaultValue;
    DWORD size = sizeof buffer;
    // On failure the buffer's content is undefined, so the default is returned as such.
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&buffer), &size) != ERROR_SUCCESS)
        return defaultValue;
    return buffer;
}

bool regWriteDword(HKEY key, const char* name, uint32_t value) {
    const DWORD data = value;
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
           ERROR_SUCCESS;
}

bool regReadBinary(HKEY key, const char* name, void* buffer, DWORD* length) {
    return RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), length) == ERROR_SUCCESS;
}

bool regWriteBinary(HKEY key, const char* name, const void* bytes, DWORD length) {
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(bytes), length) == ERROR_SUCCESS;
}
