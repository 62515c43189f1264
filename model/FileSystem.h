#pragma once
// The one place that calls the operating system directly: opening and replacing files, the
// local clock, and the console and command line of the command-line tool. Everything above it
// is the same on Linux and Windows.
//
// Paths travel through the program as UTF-8 text (from the command line, JSON, QString) and
// become std::filesystem::path only through pathFromUtf8, so folder and file names with Å, Ä
// and Ö work on Windows too, where a narrow path would be read in the ANSI code page.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// The path named by UTF-8 text, and the UTF-8 text of a path.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& p);

// Opens a file as fopen does ("rb", "wb", ...); nullptr with errno set on failure.
std::FILE* openFile(const std::filesystem::path& p, const char* mode);

// Reads a whole file into `bytes`; on failure returns the error and leaves `bytes` empty.
std::error_code readWholeFile(const std::filesystem::path& p, std::string& bytes);

// The steps of replaceFile; a test can make one of them fail.
enum class ReplaceStep { None, Create, Write, Flush, Replace };

// Writes `bytes` as the new contents of `target` so that the target is always either the old
// file or the whole new one: a temporary file in the same folder is written, flushed to disk,
// given the old file's permissions (or those of a newly created file) and moved over the
// target in one step. A target that is read-only is not replaced. On failure the temporary
// file is removed, the target is left as it was, and the error is returned.
// `failAt` makes that step fail (a short write for Write) as a full disk or a lost network
// drive would.
std::error_code replaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                            ReplaceStep failAt = ReplaceStep::None);

// The system's text for an error, as UTF-8 (on Windows in the language of the system).
std::string errorText(const std::error_code& ec);

// The local date and time of `t` as "yyyy-MM-dd HH:mm:ss" (19 characters).
std::string localTimestamp(std::time_t t);
// The same for the current time.
std::string localTimestampNow();
// The current local date, "yyyy-MM-dd": the report's date.
std::string localDateNow();

// For the command-line tool: standard output and error take their bytes as written (no
// CR LF translation on Windows) and a Windows console shows them as UTF-8.
void prepareConsole();
// The program's arguments, program name first, as UTF-8 (on Windows from the wide command
// line, so names that the ANSI code page cannot hold arrive whole).
std::vector<std::string> utf8Arguments(int argc, char** argv);
