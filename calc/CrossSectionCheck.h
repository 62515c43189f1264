#pragma once
// The check at the start of every calculation: no cross-section in use may call for a
// screen that is not there.

#include <string>

#include "model/ProjectRecord.h"

// The first stretch s (in stretch order) with crossSectionOn[s] = 1 whose profile, classified
// on a copy of the record, has break points above the line of sight and no screen (profile
// state 4); 0 when there is none. The record is not changed.
int FirstScreenCaseStretch(const ProjectRecord& r);

// The warning that stops the run for stretch s (UTF-8, CR LF line break).
std::string ScreenCaseStretchWarning(int s);
