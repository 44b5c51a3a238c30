// Medians, percentiles and the straight-line fit of the bench's report.
#pragma once

#include <vector>

// The value at `fraction` (0..1) of the sorted values, nearest rank; 0 when
// there are none.
double Percentile(std::vector<double> values, double fraction);

double Median(const std::vector<double>& values);

// How the report marks a target: met, or not met in bold.
const wchar_t* Verdict(bool met);

// seconds = fixed + perUnit * x, least squares over the points.
struct LineFit {
    double fixed = 0;
    double perUnit = 0;
    double worstResidual = 0;  // the largest |measured - fitted|, seconds
};

LineFit FitLine(const std::vector<double>& x, const std::vector<double>& seconds);
