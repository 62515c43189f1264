#include "calc/TraceFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/Cp1252.h"
#include "model/FileSystem.h"

std::string traceFileName(TracePass pass, TraceFile file)
{
    static const char* const eq[] = {"_ekvivalent", "_ekvivalentLd", "_ekvivalentLa", "_ekvivalentLs",
                                     "_ekvivalentLg"};
    static const char* const mx[] = {"_maximal", "_maximallD", "_maximallA", "_maximallS", "_maximallG"};
    const int i = static_cast<int>(file);
    return pass == TracePass::Equivalent ? eq[i] : mx[i];
}

TraceFiles::TraceFiles(const std::string& folder, TracePass pass, char decimalSeparator)
    : pass_(pass), sep_(decimalSeparator)
{
    for (int i = 0; i < 5; ++i) {
        const std::string name = traceFileName(pass, static_cast<TraceFile>(i));
        const std::filesystem::path path = folder.empty() ? pathFromUtf8(name) : pathFromUtf8(folder) / name;
        paths_[i] = utf8Of(path);
        files_[i] = openFile(path, "wb");
        if (!files_[i]) {
            const int err = errno;
            for (auto*& f : files_)
                if (f) {
                    std::fclose(f);
                    f = nullptr;
                }
            fail(i, "Kan inte skapa", err);
        }
    }
}

TraceFiles::~TraceFiles()
{
    for (auto*& f : files_)
        if (f) {
            std::fclose(f);
            f = nullptr;
        }
}

void TraceFiles::fail(int index, const char* what, int err)
{
    throw TraceFileError(std::string(what) + " felsökningsfilen " + paths_[index] + ": " + std::strerror(err));
}

void TraceFiles::write(TraceFile f, std::string_view text)
{
    const int i = static_cast<int>(f);
    std::FILE* file = files_[i];
    if (!file) throw TraceFileError("Felsökningsfilen " + paths_[i] + " är redan stängd");
    // The engine's texts are UTF-8; the files are Windows-1252. Plain ASCII needs no conversion.
    bool ascii = true;
    for (unsigned char c : text)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    std::size_t written;
    if (ascii) {
        written = std::fwrite(text.data(), 1, text.size(), file);
        if (written == text.size()) return;
    } else {
        const std::string bytes = toCp1252(text);
        written = std::fwrite(bytes.data(), 1, bytes.size(), file);
        if (written == bytes.size()) return;
    }
    fail(i, "Kan inte skriva till", errno);
}

void TraceFiles::endLine(TraceFile f) { write(f, "\r\n"); }

void TraceFiles::close()
{
    int failed = -1, err = 0;
    for (int i = 0; i < 5; ++i) {
        if (!files_[i]) continue;
        const bool ok = std::fflush(files_[i]) == 0 && !std::ferror(files_[i]);
        const int e = errno;
        const bool closed = std::fclose(files_[i]) == 0;
        files_[i] = nullptr;
        if ((!ok || !closed) && failed < 0) {
            failed = i;
            err = ok ? errno : e;
        }
    }
    if (failed >= 0) fail(failed, "Kan inte skriva till", err);
}
