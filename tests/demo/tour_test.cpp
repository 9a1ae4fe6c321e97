// The screenshot tour, run in the test process: eight PNG files (one per
// form whose library is registered) that decode to the frame's size.
#include <doctest/doctest.h>

#include "demo/tour.h"
#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace demotest;

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

unsigned Big32(const std::vector<unsigned char>& b, size_t at) {
    return (unsigned(b[at]) << 24) | (unsigned(b[at + 1]) << 16) | (unsigned(b[at + 2]) << 8) | b[at + 3];
}

}  // namespace

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
        const std::vector<unsigned char> png = ReadFile(file);
        REQUIRE(png.size() > 33);
        const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        CHECK(std::equal(png.begin(), png.begin() + 8, signature));
        CHECK(Big32(png, 16) == static_cast<unsigned>(frame.cx));
        CHECK(Big32(png, 20) == static_cast<unsigned>(frame.cy));
        // The platform's own decoder reads it.
        std::wstring wide(file.begin(), file.end());
        IPicture* picture = nullptr;
        CHECK(OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)) == S_OK);
        if (picture) picture->Release();
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}
