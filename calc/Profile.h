#pragma once
// Computations on the terrain cross-section of a stretch: angle factors, effective screen
// heights, line-of-sight classification and the middle-zone mean height.

#include "model/ProjectRecord.h"

// The angle factors of the equivalent-level and maximum-level calculation lines. They are
// program-wide working values: equal angles leave the previous values in place.
struct AngleFactors {
    float EqFactor = 0.0f;
    float MaxFactor = 0.0f;
};

void ComputeAngleFactors(const ProjectRecord& r, int s, AngleFactors& factors);
// Effective screen heights (low, high) of stretch s for the line with factor k.
void EffectiveScreenHeights(const ProjectRecord& r, int s, double k, double& low, double& high);
