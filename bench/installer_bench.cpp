// The installer helper listing every match: libcheck.so loaded by name as an installer loads
// it, SearchWiseInstalledApplication called index after index until it finds no more, over a
// machine store of N uninstall entries of which one in a hundred is a match (its folder holds
// the file). Each run lists a store the library has not read yet (two copies of the same store
// are used in turn), so a run includes reading the file once.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

using SearchFn = int (*)(void*, int*, const char*, const char*, char*);

SearchFn Search() {
    static const SearchFn search = [] {
        void* lib = dlopen(CHECK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        return lib != nullptr ? reinterpret_cast<SearchFn>(dlsym(lib, "SearchWiseInstalledApplication")) : nullptr;
    }();
    return search;
}

// The stores, written once in a folder of their own that goes when the program ends.
struct Stores {
    fs::path dir = fs::temp_directory_path() / ("codecbench-installer-bench-" + std::to_string(::getpid()));
    std::set<int> written;  // entry counts whose two copies ("<n>-0.reg", "<n>-1.reg") exist

    ~Stores() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // The store of `entries` entries, copy 0 or 1.
    std::string Path(int entries, int copy) {
        if (written.insert(entries).second) {
            std::string text;
            for (int i = 0; i < entries; ++i) {
                const bool match = i % 100 == 50;
                const fs::path folder = dir / "apps" / ("App" + std::to_string(i));
                if (match) {
                    fs::create_directories(folder / "Bin");
                    std::ofstream(folder / "Bin" / "Tool.exe") << "x";
                }
                text += "[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
                text += match ? "Tervalo Tool " : "Other Product ";
                text += std::to_string(i) + "]\n\"DisplayName\"=\"Product " + std::to_string(i) +
                        "\"\n\"UninstallString\"=\"/usr/lib/wise/UNWISE.EXE " + folder.string() + "/INSTALL.LOG\"\n\n";
            }
            for (int copy : {0, 1}) std::ofstream(dir / (std::to_string(entries) + "-" + std::to_string(copy) + ".reg")) << text;
        }
        return (dir / (std::to_string(entries) + "-" + std::to_string(copy) + ".reg")).string();
    }
};

Stores& TheStores() {
    static Stores stores;
    return stores;
}

void BM_InstallerListEveryMatch(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    if (Search() == nullptr) {
        state.SkipWithError("cannot load " CHECK_LIBRARY_PATH);
        return;
    }
    fs::create_directories(TheStores().dir);
    const std::string copies[2] = {TheStores().Path(entries, 0), TheStores().Path(entries, 1)};
    char outDir[388];
    int run = 0, found = 0;
    for (auto _ : state) {
        setenv("CODECBENCH_REGISTRY_MACHINE", copies[run++ % 2].c_str(), 1);
        found = 0;
        int index = 0;
        while (Search()(nullptr, &index, "Tervalo", "Bin\\Tool.exe", outDir) == 1) ++found;
    }
    unsetenv("CODECBENCH_REGISTRY_MACHINE");
    if (found != entries / 100) state.SkipWithError("the listing did not find every match");
    state.counters["matches"] = found;
}

}  // namespace

BENCHMARK(BM_InstallerListEveryMatch)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond);
