// Velmora.exe: the demonstration program. No command line, files or settings:
// the frame is the start object and the program ends when it closes.
#include <windows.h>
#include <ole2.h>

#include "demo/velmora.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (FAILED(OleInitialize(nullptr))) return 1;
    int status = 0;
    {
        forms::Runtime runtime(instance);
        try {
            runtime.Load(velmora::MDIFrmVelmora)->Show();
            status = runtime.Run();
        } catch (const forms::RuntimeError& e) {
            MessageBoxA(nullptr, e.Describe().c_str(), "Velmora", MB_OK | MB_ICONERROR);
            status = 1;
        }
    }  // every control is released before OLE goes
    OleUninitialize();
    return status;
}
