#pragma once
// The three tab-separated texts the results page copies to the clipboard: results, train
// data and stretch data. Cells are separated by one TAB, every line ends with CR LF. The
// texts are UTF-8; whoever hands them to the clipboard converts them.

#include <string>

#include "calc/Results.h"
#include "model/ProjectRecord.h"

// "RESULTAT": equivalent, maximum and (with several tracks) simultaneous maximum levels,
// with the indoor and facade rows of the options that are on. The corrected values are the
// plain sums, not limited to 0.
std::string exportResults(const ProjectRecord& r, const CalcResults& res, char decimalSeparator = '.');
// "TÅGDATA": one column per train.
std::string exportTrainData(const ProjectRecord& r);
// "STRÄCKDATA": one column per stretch, with the stretch results of the last run.
std::string exportStretchData(const ProjectRecord& r, const CalcResults& res, char decimalSeparator = '.');
