#pragma once
// Writing the site plan alone to a file. This header needs no Qt headers, so the
// command-line tool can include it.

#include <string>

#include "calc/SitePlan.h"

// Writes the plan to a file whose extension chooses the format: ".svg", ".png" or ".pdf"
// (A4 landscape). width is the picture's width in pixels (SVG and PNG). Starts a headless
// Qt application when there is none. Returns "" or a Swedish message.
std::string writeSitePlanFile(const std::string& path, const SitePlan& plan, int width);
