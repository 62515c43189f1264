#pragma once
// The project record as a JSON object whose keys are the record's field names.

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "model/ProjectRecord.h"

nlohmann::ordered_json projectToJson(const ProjectRecord& r);

class JsonInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills r from j; keys that are missing keep r's values. Throws JsonInputError naming the
// key of a wrong type or size.
void projectFromJson(const nlohmann::json& j, ProjectRecord& r);

// A single-precision value as the double that prints shortest and reads back to it.
double floatForJson(float f);
