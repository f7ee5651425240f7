#pragma once
// Median and spread of repeated measurements.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

struct Statistics {
    double median = 0, min = 0, max = 0;
    int runs = 0;

    static Statistics of(std::vector<double> samples) {
        Statistics s;
        if (samples.empty()) return s;
        std::sort(samples.begin(), samples.end());
        std::size_t n = samples.size();
        s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
        s.min = samples.front();
        s.max = samples.back();
        s.runs = static_cast<int>(n);
        return s;
    }

    nlohmann::json toJson() const { return {{"median", median}, {"min", min}, {"max", max}, {"runs", runs}}; }
};
