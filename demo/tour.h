// The screenshot tour of Velmora (see tour.cpp).
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "forms/form.h"

namespace velmora {

// The frame made large enough for the largest child form to show whole.
void FitLargestForm(forms::Form& frame);

// Runs the tour on its own runtime (the real clock); returns the forms that
// could not be opened or written. written receives the files' paths.
std::vector<std::string> RunTour(HINSTANCE resources, const std::string& folder,
                                 std::vector<std::string>* written = nullptr);

}  // namespace velmora
