// Which code a run executes: the program reports its pointer size (the test
// scripts stop an i686 run that reports 8), and checks that it runs as the
// machine it was built for, inside a 64-bit prefix (a 32-bit program in its
// 32-bit half).
#include <doctest/doctest.h>

#include <windows.h>

#include <cstdio>

TEST_CASE("the program runs as the architecture it was built for")
{
    std::printf("pointer size %u\n", static_cast<unsigned>(sizeof(void*)));
    std::fflush(stdout);
    CHECK(sizeof(void*) == QEV_EXPECTED_POINTER_SIZE);

    auto base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const WORD machine = sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
    CHECK(nt->FileHeader.Machine == machine);

    BOOL wow64 = FALSE;
    REQUIRE(IsWow64Process(GetCurrentProcess(), &wow64));
    CHECK((wow64 != FALSE) == (sizeof(void*) == 4));

    wchar_t dir[MAX_PATH];
    CHECK(GetSystemWow64DirectoryW(dir, MAX_PATH) > 0);
}
