// Stand-in for the maker's auxiliary program, placed and started by the first-run installation.
// It notes that it ran, and in which folder, in the file named by MORLA_LNKX_TRACE when that is
// set, and ends.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int, char** argv) {
    const char* trace = std::getenv("MORLA_LNKX_TRACE");
    if (trace == nullptr || *trace == '\0') return 0;
    std::FILE* f = std::fopen(trace, "a");
    if (f == nullptr) return 1;
    std::fprintf(f, "%s started in %s\n", argv[0],
                 std::filesystem::current_path().string().c_str());
    std::fclose(f);
    return 0;
}
