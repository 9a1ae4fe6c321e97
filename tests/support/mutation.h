// Saved data turned hostile: a control's own saved stream and property bag,
// mutated over and over from a fixed seed and loaded back into the control,
// each load followed by a paint and a save. Whatever the data, a load may
// fail but must neither crash nor hang, and the control must keep painting
// and saving. The same seed gives the same run, so a failure names the case
// that caused it (the run's seed and the mutant's number).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// One control to mutate: its library file (in the executable's folder) and
// class id in text form, so one program covers every library without their
// generated headers.
struct MutationTarget {
    const char* name;        // for messages, e.g. "knob"
    const wchar_t* library;  // e.g. L"Tarnik.dll"
    const wchar_t* clsid;    // e.g. L"{4239AE66-F4F8-4D5F-A26B-CF369C4EDEA6}"
};

struct MutationCounts {
    int streams = 2000;  // mutated streams per control
    int bags = 1000;     // mutated bags per control
    uint64_t seed = 0x5EED;
};

// What a run saw, for the test's checks.
struct MutationReport {
    int streamLoads = 0, streamsAccepted = 0;
    int bagLoads = 0, bagsAccepted = 0;
    int failedPaints = 0, failedSaves = 0;
    std::string firstFailure;  // which mutant failed first, and how
};

// Deterministic 64-bit generator (splitmix64).
class Rng {
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t Next();
    uint32_t Below(uint32_t n) { return n ? static_cast<uint32_t>(Next() % n) : 0; }
    bool OneIn(uint32_t n) { return Below(n) == 0; }

private:
    uint64_t m_state;
};

using Bytes = std::vector<BYTE>;

// A copy of `seed` with one to four mutations: bits flipped, bytes and
// 16/32-bit fields set to boundary values, bytes inserted, removed or
// repeated, the end cut off, or a token of the format (class ids, value
// tags, font data of extreme size, pictures of malformed icon and bitmap
// data) written over or into the data.
Bytes MutateBytes(const Bytes& seed, Rng& rng);

// Mutates streams and bags of the target; see the top of this file.
MutationReport RunMutation(const MutationTarget& target, const MutationCounts& counts);

}  // namespace testsupport
