// VelmoraTour.exe: the screenshot tour as a program.
//   VelmoraTour.exe <folder>
// Prints the files written; exits non-zero, naming them, when forms could
// not be opened.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "demo/tour.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const std::string folder = __argc > 1 ? __argv[1] : ".";
    if (FAILED(OleInitialize(nullptr))) return 2;
    std::vector<std::string> written;
    const std::vector<std::string> failed = velmora::RunTour(instance, folder, &written);
    OleUninitialize();
    for (const std::string& file : written) std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    if (failed.empty()) return 0;
    std::fprintf(stderr, "could not open:");
    for (const std::string& name : failed) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    return 1;
}
