#pragma once
// Screen and ground attenuation of one band and one source point.

#include "calc/Trace.h"
#include "model/ProjectRecord.h"

// Screen term: dLs (−20..0 dB), the effective screen height He and the path length L.
// In the guard case (D ≤ 0, R ≤ 0, band outside 1..7) dLs = L = 0 and He is left as given.
void ScreenTerm(const ProjectRecord& r, int s, int b, int f, float hr, float zr, float hb, float zb, float a,
                float zt, float R, float D, double& dLs, double& He, double& L, TraceSink* trace = nullptr);

// Ground term dLg for the horizontal distance R.
void GroundTerm(const ProjectRecord& r, int s, int b, double He, double Gm, double Gr, double Gs, double hr,
                double zr, double zt, double R, double& dLg, TraceSink* trace = nullptr);
