#include "model/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {
std::string utf8FromWide(const wchar_t* w, int length)
{
    if (length <= 0) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w, length, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(std::max(n, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w, length, s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace
#endif

fs::path pathFromUtf8(std::string_view utf8)
{
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string utf8Of(const fs::path& p)
{
    const std::u8string u = p.u8string();
    return std::string(reinterpret_cast<const char*>(u.data()), u.size());
}

std::FILE* openFile(const fs::path& p, const char* mode)
{
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return ::_wfopen(p.c_str(), wideMode.c_str());
#else
    return std::fopen(p.c_str(), mode);
#endif
}

std::error_code readWholeFile(const fs::path& p, std::string& bytes)
{
    bytes.clear();
    std::FILE* f = openFile(p, "rb");
    if (!f) return {errno, std::generic_category()};
    char buf[16384];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const int err = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (err == 0) return {};
    bytes.clear();
    return {err, std::generic_category()};
}

namespace {
std::error_code injected(ReplaceStep step)
{
    switch (step) {
    case ReplaceStep::Create: return std::make_error_code(std::errc::permission_denied);
    case ReplaceStep::Write: return std::make_error_code(std::errc::no_space_on_device);
    default: return std::make_error_code(std::errc::io_error);
    }
}
}  // namespace

#ifdef _WIN32

namespace {
std::error_code windowsError(DWORD e) { return {static_cast<int>(e), std::system_category()}; }
}  // namespace

std::error_code replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes, ReplaceStep failAt)
{
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    const DWORD oldAttributes = ::GetFileAttributesW(target.c_str());
    const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    // Windows refuses to write a read-only file; so does the save.
    if (exists && (oldAttributes & FILE_ATTRIBUTE_READONLY)) return windowsError(ERROR_ACCESS_DENIED);
    if (failAt == ReplaceStep::Create) return injected(failAt);

    // A new name in the same folder, so the final move stays on one volume.
    fs::path temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    const unsigned long long seed = ::GetTickCount64() ^ (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32);
    for (unsigned attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        wchar_t suffix[24];
        std::swprintf(suffix, 24, L".%06llx", (seed + attempt * 7919ULL) & 0xFFFFFFULL);
        temp = folder / (L"." + target.filename().wstring() + suffix);
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = ::GetLastError();
            if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) return windowsError(e);
        }
    }
    if (h == INVALID_HANDLE_VALUE) return windowsError(ERROR_FILE_EXISTS);

    auto fail = [&](std::error_code ec) {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        ::DeleteFileW(temp.c_str());
        return ec;
    };
    const std::size_t toWrite = failAt == ReplaceStep::Write ? bytes.size() / 2 : bytes.size();
    std::size_t done = 0;
    while (done < toWrite) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(toWrite - done, 1u << 30));
        if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr)) return fail(windowsError(::GetLastError()));
        done += written;
    }
    if (failAt == ReplaceStep::Write) return fail(injected(failAt));
    if (failAt == ReplaceStep::Flush) return fail(injected(failAt));
    if (!::FlushFileBuffers(h)) return fail(windowsError(::GetLastError()));
    const bool closed = ::CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
    if (!closed) return fail(windowsError(::GetLastError()));
    // The new file keeps the old file's attributes; its access rights are those a new file in
    // the folder gets.
    if (exists)
        ::SetFileAttributesW(temp.c_str(), oldAttributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (failAt == ReplaceStep::Replace) return fail(injected(failAt));
    if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(windowsError(::GetLastError()));
    return {};
}

#else

std::error_code replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes, ReplaceStep failAt)
{
    auto posixError = [](int e) { return std::error_code(e, std::generic_category()); };
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Like Windows, the save does not replace a file that the user may not write.
    if (exists && S_ISREG(old.st_mode) && ::access(target.c_str(), W_OK) != 0) return posixError(errno);
    if (failAt == ReplaceStep::Create) return injected(failAt);

    std::string name = target.filename().string();
    name.insert(name.begin(), '.');
    name.append(".XXXXXX");
    std::string temp = (folder / name).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return posixError(errno);
    auto fail = [&](std::error_code ec) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        return ec;
    };
    const std::size_t toWrite = failAt == ReplaceStep::Write ? bytes.size() / 2 : bytes.size();
    std::size_t done = 0;
    while (done < toWrite) {
        const ssize_t w = ::write(fd, bytes.data() + done, toWrite - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return fail(posixError(errno));
        }
        done += static_cast<std::size_t>(w);
    }
    if (failAt == ReplaceStep::Write) return fail(injected(failAt));
    if (failAt == ReplaceStep::Flush) return fail(injected(failAt));
    if (::fsync(fd) != 0) return fail(posixError(errno));
    // The new file gets the old file's permissions, or those of a newly created file.
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(posixError(errno));
    if (failAt == ReplaceStep::Replace) return fail(injected(failAt));
    if (std::rename(temp.c_str(), target.c_str()) != 0) return fail(posixError(errno));
    // The new directory entry reaches the disk too.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

#endif

std::string errorText(const std::error_code& ec)
{
#ifdef _WIN32
    if (ec.category() == std::system_category()) {
        wchar_t* text = nullptr;
        const DWORD n = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            static_cast<DWORD>(ec.value()), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        if (text) {
            int length = static_cast<int>(n);
            while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
                --length;
            std::string s = utf8FromWide(text, length);
            ::LocalFree(text);
            if (!s.empty()) return s;
        }
    }
#endif
    return ec.message();
}

std::string localTimestamp(std::time_t t)
{
    std::tm tm{};
#ifdef _WIN32
    ::localtime_s(&tm, &t);
#else
    ::localtime_r(&t, &tm);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf).substr(0, 19);
}

std::string localTimestampNow() { return localTimestamp(std::time(nullptr)); }

std::string localDateNow() { return localTimestampNow().substr(0, 10); }

#ifdef _WIN32
namespace {
UINT consoleCodePageAtStart = 0;
void restoreConsoleCodePage() { ::SetConsoleOutputCP(consoleCodePageAtStart); }
}  // namespace
#endif

void prepareConsole()
{
#ifdef _WIN32
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    consoleCodePageAtStart = ::GetConsoleOutputCP();
    if (consoleCodePageAtStart != 0 && consoleCodePageAtStart != CP_UTF8) {
        ::SetConsoleOutputCP(CP_UTF8);
        std::atexit(restoreConsoleCodePage);
    }
#endif
}

std::vector<std::string> utf8Arguments(int argc, char** argv)
{
#ifdef _WIN32
    int n = 0;
    if (LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
        std::vector<std::string> args;
        for (int i = 0; i < n; ++i) args.push_back(utf8FromWide(wide[i], static_cast<int>(std::wcslen(wide[i]))));
        ::LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}
