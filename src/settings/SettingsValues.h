// How the settings fields are laid out in their registry values, apart from the
// registry calls themselves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "util/Platform.h"

// The LFBIN value: the face name (32 bytes, NUL-padded) followed by the eight
// byte fields of LOGFONTA in structure order.
constexpr size_t LFBIN_SIZE = 40;
constexpr size_t LFBIN_FACE_NAME_SIZE = 32;

void encodeFontBinary(const LOGFONTA& font, uint8_t (&bytes)[LFBIN_SIZE]);
// Takes the face name and byte fields from `bytes`; the name is always
// terminated, even when the stored 32 bytes hold no NUL.
void decodeFontBinary(const uint8_t (&bytes)[LFBIN_SIZE], LOGFONTA& font);

// PosX and PosY hold the signed 16-bit position sign-extended to 32 bits; a load
// keeps the low 16 bits read as a signed number.
uint32_t encodePosition(int16_t position);
int16_t decodePosition(uint32_t stored);

// The Flags word after a load: bits 1 to 18 from the stored value, the drag bit
// and the unused high bits from the word in memory.
uint32_t mergeStoredFlags(uint32_t current, uint32_t stored);

// LastYM holds year and month, LastDH day and hour, each as two 16-bit halves.
void encodeLastCheck(const SYSTEMTIME& time, uint32_t& yearMonth, uint32_t& dayHour);
// Sets year, month, day and hour from the two values and the minute to 0; the
// other members stay.
void decodeLastCheck(uint32_t yearMonth, uint32_t dayHour, SYSTEMTIME& time);
