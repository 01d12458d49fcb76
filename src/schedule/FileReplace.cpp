#include "schedule/FileReplace.h"

#include "util/Platform.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#endif

namespace {

std::FILE* createThroughRuntime(const char* path) { return std::fopen(path, "wb"); }

size_t writeThroughRuntime(const void* data, size_t size, size_t count, std::FILE* file) {
    return std::fwrite(data, size, count, file);
}

#ifndef _WIN32
// Makes a rename inside `path`'s folder durable.
void syncFolderOf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    char folder[4096];
    size_t length = slash ? static_cast<size_t>(slash - path) : 0;
    if (length >= sizeof folder) return;
    if (length == 0) {
        folder[length++] = slash ? '/' : '.';
    } else {
        std::memcpy(folder, path, length);
    }
    folder[length] = '\0';
    const int descriptor = ::open(folder, O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}
#endif

}  // namespace

#ifdef _WIN32

namespace {

bool flushThroughRuntime(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

// The backup becomes a second name of the current version (a copy where the
// volume has no hard links); the data file keeps its name throughout.
bool linkBackup(const char* dataPath, const char* backupPath) {
    DeleteFileA(backupPath);
    return CreateHardLinkA(backupPath, dataPath, nullptr) || CopyFileA(dataPath, backupPath, FALSE);
}

bool swapThroughSystem(const char* tempPath, const char* dataPath) {
    return MoveFileExA(tempPath, dataPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

bool seekTo(std::FILE* file, uint64_t position) {
    return _fseeki64(file, static_cast<__int64>(position), SEEK_SET) == 0;
}

bool streamSize(std::FILE* file, uint64_t& size) {
    const __int64 here = _ftelli64(file);
    if (here < 0 || _fseeki64(file, 0, SEEK_END) != 0) return false;
    const __int64 end = _ftelli64(file);
    if (end < 0 || _fseeki64(file, here, SEEK_SET) != 0) return false;
    size = static_cast<uint64_t>(end);
    return true;
}

bool fileExists(const char* path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool removeFile(const char* path) { return DeleteFileA(path) != 0; }

#else

namespace {

bool flushThroughRuntime(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
}

// The backup becomes a second name of the current version; the data file keeps
// its name throughout.
bool linkBackup(const char* dataPath, const char* backupPath) {
    ::unlink(backupPath);
    return ::link(dataPath, backupPath) == 0;
}

bool swapThroughSystem(const char* tempPath, const char* dataPath) {
    if (std::rename(tempPath, dataPath) != 0) return false;
    syncFolderOf(dataPath);
    return true;
}

}  // namespace

bool seekTo(std::FILE* file, uint64_t position) {
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool streamSize(std::FILE* file, uint64_t& size) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return false;
    const off_t end = ftello(file);
    if (end < 0 || fseeko(file, here, SEEK_SET) != 0) return false;
    size = static_cast<uint64_t>(end);
    return true;
}

bool fileExists(const char* path) {
    struct stat status;
    return ::stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

bool removeFile(const char* path) { return ::unlink(path) == 0; }

#endif

ScheduleFileCalls scheduleFileCalls = {createThroughRuntime, writeThroughRuntime, flushThroughRuntime, linkBackup,
                                       swapThroughSystem};

bool replaceWithBackup(const char* dataPath, const char* tempPath, const char* backupPath) {
    if (fileExists(dataPath) && !scheduleFileCalls.keepBackup(dataPath, backupPath)) return false;
    return scheduleFileCalls.swapIn(tempPath, dataPath);
}
