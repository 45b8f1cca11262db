#pragma once
// Round steps for histogram bins and axis ticks.

// 1, 2, 2.5 or 5 times a power of ten, at least `rough`; 1 for a step that is not positive.
double roundStep(double rough);
