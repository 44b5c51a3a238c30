#include "bench_stats.h"

#include <algorithm>
#include <cmath>

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    double rank = std::ceil(fraction * static_cast<double>(values.size()));
    size_t index = rank < 1 ? 0 : static_cast<size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

double Median(const std::vector<double>& values)
{
    if (values.empty())
        return 0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

LineFit FitLine(const std::vector<double>& x, const std::vector<double>& seconds)
{
    LineFit fit;
    size_t n = std::min(x.size(), seconds.size());
    if (n == 0)
        return fit;
    double meanX = 0, meanY = 0;
    for (size_t i = 0; i < n; ++i) {
        meanX += x[i];
        meanY += seconds[i];
    }
    meanX /= static_cast<double>(n);
    meanY /= static_cast<double>(n);
    double covariance = 0, variance = 0;
    for (size_t i = 0; i < n; ++i) {
        covariance += (x[i] - meanX) * (seconds[i] - meanY);
        variance += (x[i] - meanX) * (x[i] - meanX);
    }
    fit.perUnit = variance > 0 ? covariance / variance : 0;
    fit.fixed = meanY - fit.perUnit * meanX;
    for (size_t i = 0; i < n; ++i)
        fit.worstResidual = std::max(fit.worstResidual, std::fabs(seconds[i] - fit.fixed - fit.perUnit * x[i]));
    return fit;
}

const wchar_t* Verdict(bool met)
{
    return met ? L"met" : L"**not met**";
}
