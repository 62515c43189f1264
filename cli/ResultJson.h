#pragma once
// The results of one calculation run as the JSON object `calc --json` prints; the study
// command prints the same object for every height.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "calc/Results.h"
#include "model/ProjectRecord.h"

// `r` is the record as the run left it (screen effects, facade distance); `messages` are the
// run's messages in order.
nlohmann::ordered_json resultsJson(const ProjectRecord& r, const CalcResults& res, int segmentLength,
                                   const std::vector<std::string>& messages);
