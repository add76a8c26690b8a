#pragma once
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace bench {

// The nearest-rank percentile: the smallest sample with at least `share`
// (0..1] of the samples at or below it. Zero for no samples.
inline double percentile(std::vector<double> samples, double share)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = std::size_t(std::ceil(share * double(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

inline double median(const std::vector<double>& samples)
{
    return percentile(samples, 0.5);
}

// "ok", or "MISS:" followed by the name of every goal missed.
inline QString verdict(std::initializer_list<std::pair<const char*, bool>> goals)
{
    QString missed;
    for (const auto& [name, met] : goals)
        if (!met)
            missed += u' ' + QString::fromLatin1(name);
    return missed.isEmpty() ? QStringLiteral("ok") : QStringLiteral("MISS:") + missed;
}

} // namespace bench
