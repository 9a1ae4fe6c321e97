// Reading an image file back through the platform's imaging component, as
// any other program would decode what we wrote.
#pragma once
#include <windows.h>
#include <string>

#include "forms/capture.h"

namespace testsupport {

// The first frame of the image file at path as 32-bit pixels; an invalid
// canvas and the failure in *hr when the file does not decode.
forms::DibCanvas DecodeImage(const std::wstring& path, HRESULT* hr = nullptr);

// True when the file starts with the PNG signature.
bool HasPngSignature(const std::wstring& path);

}  // namespace testsupport
