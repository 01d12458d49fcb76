// The few file-system steps the data file code needs that differ between Windows
// and elsewhere, kept in one place: existence, forcing data to the disk, and the
// crash-safe swap of a new version into place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Every byte the data file code writes goes through this function (std::fwrite by
// default), so tests can make a write fail part way.
using FileWriteFunction = size_t (*)(const void* data, size_t size, size_t count, std::FILE* file);
extern FileWriteFunction scheduleFileWrite;

// Flushes the stream and forces its data to the disk; false when either fails.
bool flushToDisk(std::FILE* file);

// Makes the fully written and flushed `tempPath` the file at `dataPath`. When a
// file is already at `dataPath`, it becomes `backupPath` (replacing any older
// backup). At every instant a complete version is under `dataPath`: the old one
// until the final rename, the new one after it. False when the swap could not be
// done; `dataPath` then still holds its previous content.
bool replaceWithBackup(const char* dataPath, const char* tempPath, const char* backupPath);

// 64-bit positioning of a stream, also where `long` is 32 bits.
bool seekTo(std::FILE* file, uint64_t position);
// Size of the stream's file in bytes; its position is kept.
bool streamSize(std::FILE* file, uint64_t& size);

// True when the path names an existing file.
bool fileExists(const char* path);

// Deletes a file; false when it could not be deleted.
bool removeFile(const char* path);
