// The screenshot tour, run in the test process: eight PNG files (one per
// form whose library is registered) that decode to the frame's size.
#include <doctest/doctest.h>

#include "demo/tour.h"
#include "driver.h"
#include "pngread.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace demotest;
using testsupport::DecodeImage;
using forms::DibCanvas;
using testsupport::HasPngSignature;

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
        const std::wstring wide(file.begin(), file.end());
        CHECK(HasPngSignature(wide));
        // The platform's imaging component decodes it to the frame's size.
        HRESULT hr = E_FAIL;
        const DibCanvas shot = DecodeImage(wide, &hr);
        CHECK(hr == S_OK);
        CHECK(shot.width() == frame.cx);
        CHECK(shot.height() == frame.cy);
        // So does the picture loader.
        IPicture* picture = nullptr;
        CHECK(OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)) == S_OK);
        if (picture) picture->Release();
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}
