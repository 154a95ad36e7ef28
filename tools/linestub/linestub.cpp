// Stand-in line library. The program calls DRQ(0, dial text) once per dial text; this build
// dials nothing and appends one line per call to DRQdll.log in the folder of the library file
// (the program folder, where the library is installed):
//     <local date and time, milliseconds>\t<first argument>\t<dial text bytes as received>\n
// The file is opened and closed on every call, so a reader sees each line at once.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <windows.h>
#define LINESTUB_EXPORT extern "C" __declspec(dllexport)
#define LINESTUB_CALL __stdcall
#else
#include <dlfcn.h>
#define LINESTUB_EXPORT extern "C" __attribute__((visibility("default")))
#define LINESTUB_CALL
#endif

#ifndef LINESTUB_WITHOUT_DRQ
namespace {

const char kLogName[] = "DRQdll.log";

// Folder of this library file, with a trailing separator; empty when it cannot be told, so
// the log goes to the current folder.
std::string libraryFolder() {
    std::string path;
#ifdef _WIN32
    HMODULE self = nullptr;
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&libraryFolder), &self)) {
        char buffer[MAX_PATH];
        const DWORD n = GetModuleFileNameA(self, buffer, MAX_PATH);
        if (n > 0 && n < MAX_PATH) path.assign(buffer, n);
    }
    const std::size_t cut = path.find_last_of("\\/");
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) && info.dli_fname)
        path = info.dli_fname;
    const std::size_t cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string timeStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03d", int(millis));
    return text;
}

}  // namespace

// Returns 0 when the line was logged, -1 when the log could not be written; the program
// does not look at the result.
LINESTUB_EXPORT int32_t LINESTUB_CALL DRQ(int32_t line, const char* dialText) {
    std::string entry = timeStamp();
    entry += '\t';
    entry += std::to_string(line);
    entry += '\t';
    if (dialText) entry.append(dialText, std::strlen(dialText));
    entry += '\n';
    const std::string path = libraryFolder() + kLogName;
    std::FILE* log = std::fopen(path.c_str(), "ab");
    if (!log) return -1;
    const bool written = std::fwrite(entry.data(), 1, entry.size(), log) == entry.size();
    return std::fclose(log) == 0 && written ? 0 : -1;
}
#endif

LINESTUB_EXPORT int32_t LINESTUB_CALL LineStubVersion() {
    return 1;
}
