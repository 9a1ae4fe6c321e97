// The screenshot tour, run in the test process: eight PNG files (one per
// form whose library is registered) that decode to the frame's size.
#include <doctest/doctest.h>

#include "demo/tour.h"
#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace demotest;

TEST_CASE("the screenshot tour writes the frame with each form in it as a PNG file") {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "velmora_tour_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> written;
    const std::vector<std::string> failed = velmora::RunTour(GetModuleHandleW(nullptr), folder, &written);

    SIZE frame{};
    {
        Velmora app;
        velmora::FitLargestForm(app.frame());
        RECT r;
        GetWindowRect(app.frame().hwnd(), &r);
        frame = SIZE{r.right - r.left, r.bottom - r.top};
    }
    int n = 0;
    for (const velmora::Link& link : velmora::kLinks) {
        ++n;
        const std::string file = folder + "\\" + std::to_string(n) + "-" + link.target->name + ".png";
        const bool opened = std::find(failed.begin(), failed.end(), link.target->name) == failed.end();
        if (!Available(*link.target)) {
            MESSAGE(link.target->name << ": its library is not registered; the tour names it");
            CHECK_FALSE(opened);
            continue;
        }
        CAPTURE(file);
        REQUIRE(opened);
        CHECK(std::find(written.begin(), written.end(), file) != written.end());
        char head[8] = {};
        if (FILE* f = fopen(file.c_str(), "rb")) {
            CHECK(fread(head, 1, sizeof head, f) == sizeof head);
            fclose(f);
        }
        CHECK(memcmp(head, "\x89PNG\r\n\x1A\n", sizeof head) == 0);
        // The platform's picture loader decodes it to the frame's size.
        const std::wstring wide(file.begin(), file.end());
        IPicture* picture = nullptr;
        REQUIRE(OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                                   reinterpret_cast<void**>(&picture)) == S_OK);
        OLE_HANDLE handle = 0;
        BITMAP bm{};
        CHECK(picture->get_Handle(&handle) == S_OK);
        CHECK(GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm) == sizeof bm);
        CHECK(bm.bmWidth == frame.cx);
        CHECK(bm.bmHeight == frame.cy);
        picture->Release();
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}
