// The few file-system steps the data file code needs that differ between Windows
// and elsewhere, kept in one place: existence, forcing data to the disk, and the
// crash-safe swap of a new version into place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The file-system calls through which a change reaches the disk, one pointer
// each, so that tests can make any of them fail as a full disk, a read-only
// folder, a data file held by another program or an undeletable backup would.
struct ScheduleFileCalls {
    // Creates (or empties) the file of the new version; null when it cannot.
    std::FILE* (*createNew)(const char* path);
    // Every byte written (std::fwrite by default).
    size_t (*write)(const void* data, size_t size, size_t count, std::FILE* file);
    // Flushes the stream and forces its data to the disk; false when either fails.
    bool (*flushToDisk)(std::FILE* file);
    // Makes `backupPath` hold the current version at `dataPath`, replacing any older backup.
    bool (*keepBackup)(const char* dataPath, const char* backupPath);
    // Puts the file at `tempPath` under `dataPath`, replacing it in one step.
    bool (*swapIn)(const char* tempPath, const char* dataPath);
};
extern ScheduleFileCalls scheduleFileCalls;

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
