#pragma once
// Student's t distribution: the quantiles that turn the spread of a few runs into a confidence
// interval of their mean, for any number of degrees of freedom.

namespace StudentT {
// P(T <= t) for T with the given degrees of freedom (> 0).
double cdf(double t, double degreesOfFreedom);
// The t with P(T <= t) = probability, for a probability strictly between 0 and 1.
double quantile(double probability, double degreesOfFreedom);
}
