#pragma once
// The project file: exactly one 4212-byte record, little-endian, no header.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "model/FileSystem.h"
#include "model/ProjectRecord.h"

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// The bytes of the record at the file's offsets.
RecordBytes encodeRecord(const ProjectRecord& r);
// The record from its bytes, taken as they lie (no checks, no read processing).
ProjectRecord decodeRecord(const RecordBytes& bytes);

class ProjectFileError : public std::runtime_error {
public:
    enum class Kind { CannotOpen, Invalid, CannotWrite };
    ProjectFileError(Kind k, const std::string& message) : std::runtime_error(message), kind(k) {}
    Kind kind;
};

// Why a record cannot be used safely, or "" when it can: counts, country, nationalities,
// track numbering, orders, break-point counts and finite numbers of the parts in use.
std::string recordDefect(const ProjectRecord& r);

// The processing a read applies: facade correction cleared when its distance is outside
// 0.5..20 m, train-type lists of the trains in use, normaliseAfterRead.
void applyReadProcessing(ProjectRecord& r);

// Paths are UTF-8 text.

// Reads a project file. Throws ProjectFileError: CannotOpen with the system's error text
// when the file cannot be opened or read, Invalid with "<name> är ingen giltig
// skenbrusfil!" when it is too short or its contents would make the program index outside
// its arrays. A longer file is read from its first 4212 bytes.
ProjectRecord readProject(const std::string& path);

// Writes the record through a temporary file in the same folder that is flushed to disk and
// moved over the target in one step (replaceFile), so a failed write leaves the old file
// whole. Throws ProjectFileError (CannotWrite). `failAt` is for tests.
void writeProject(const std::string& path, const ProjectRecord& r, ReplaceStep failAt = ReplaceStep::None);

// "name.sdb" of "/folder/name.sdb".
std::string fileNameOnly(const std::string& path);
// "/folder" of "/folder/name.sdb".
std::string folderOf(const std::string& path);
