// A program whose resources are damaged must end quietly with code 0 and no window.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/ClockHarness.h"

using namespace harness;

namespace {

// Gives one resource of the copied program another number, so that the program
// no longer finds it, as in a damaged installation. The new number must keep the
// entries of that type in ascending order, as the loader searches them by halves.
bool renumberResource(const std::string& program, WORD type, WORD id, WORD newId) {
    std::vector<unsigned char> image;
    HANDLE file = CreateFileA(program.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    image.resize(GetFileSize(file, nullptr));
    DWORD done = 0;
    ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &done, nullptr);

    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.data());
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const DWORD rsrcRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    DWORD rsrcOffset = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (rsrcRva >= section->VirtualAddress && rsrcRva < section->VirtualAddress + section->Misc.VirtualSize) {
            rsrcOffset = rsrcRva - section->VirtualAddress + section->PointerToRawData;
        }
    }
    if (!rsrcOffset) return false;
    // Finds the entry with an id in the directory at the given offset from the resource root.
    auto findEntry = [&](DWORD directory, WORD wanted) -> IMAGE_RESOURCE_DIRECTORY_ENTRY* {
        auto* dir = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY*>(image.data() + rsrcOffset + directory);
        auto* entry = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY_ENTRY*>(dir + 1) + dir->NumberOfNamedEntries;
        for (WORD i = 0; i < dir->NumberOfIdEntries; ++i, ++entry) {
            if (entry->Id == wanted) return entry;
        }
        return nullptr;
    };
    IMAGE_RESOURCE_DIRECTORY_ENTRY* typeEntry = findEntry(0, type);
    if (!typeEntry || !typeEntry->DataIsDirectory) return false;
    IMAGE_RESOURCE_DIRECTORY_ENTRY* idEntry = findEntry(typeEntry->OffsetToDirectory, id);
    if (!idEntry) return false;
    idEntry->Id = newId;

    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const BOOL written = WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &done, nullptr);
    CloseHandle(file);
    return written && done == image.size();
}

void expectQuietEnd(const ProgramFolder& folder) {
    Process clock;
    ASSERT_TRUE(clock.start(folder.quilletPath()));
    DWORD code = 99;
    ASSERT_TRUE(clock.waitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(findClock(), nullptr);
}

TEST(StartupFailure, MissingProgramIconEndsWithoutWindow) {
    ProgramFolder folder;
    ASSERT_TRUE(renumberResource(folder.quilletPath(), 14, 107, 109));  // group icons: 107, 108, 213...
    expectQuietEnd(folder);
}

TEST(StartupFailure, MissingBellIconEndsWithoutWindow) {
    ProgramFolder folder;
    ASSERT_TRUE(renumberResource(folder.quilletPath(), 14, 221, 222));  // the last group icon
    expectQuietEnd(folder);
}

TEST(StartupFailure, MissingMenuEndsWithoutWindow) {
    ProgramFolder folder;
    ASSERT_TRUE(renumberResource(folder.quilletPath(), 4, 109, 110));  // the only menu
    expectQuietEnd(folder);
}

}  // namespace
