// Entry point of every test program. The controls live in the single-threaded
// apartment of the thread that creates them, so OLE is initialised here; error
// boxes are off so that an unattended run never waits on a dialog.
#define DOCTEST_CONFIG_IMPLEMENT
#ifndef DOCTEST_CONFIG_NO_MULTITHREADING
#define DOCTEST_CONFIG_NO_MULTITHREADING
#endif
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) {
        std::fprintf(stderr, "OleInitialize failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        std::fflush(stderr);
        ExitProcess(2);
    }
    int result;
    {
        doctest::Context context(argc, argv);
        result = context.run();
    }
    OleUninitialize();
    // ExitProcess does not flush the C runtime's buffers.
    std::cout.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(result));
}
