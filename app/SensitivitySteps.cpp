#include "app/SensitivitySteps.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr int kSteps[SensitivitySteps::kCount] = {60, 57, 54, 51, 48, 45, 44, 43, 42, 41, 40};
}

int SensitivitySteps::thresholdAt(int index) { return kSteps[std::clamp(index, 0, kCount - 1)]; }

bool SensitivitySteps::isStep(int threshold) {
    return std::find(std::begin(kSteps), std::end(kSteps), threshold) != std::end(kSteps);
}

SensitivitySteps::Place SensitivitySteps::placeOf(int threshold) {
    if (threshold > kSteps[0] || threshold < kSteps[kCount - 1]) return {0, false};
    for (int i = 0; i < kCount; ++i) {
        if (kSteps[i] == threshold) return {2 * i, false};
        if (kSteps[i] < threshold) return {2 * i - 1, true};
    }
    return {0, false};
}
