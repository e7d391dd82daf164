// Loading and saving the settings file (a full 48-slot table plus 1,000 foreign entries)
// against reading and writing the same bytes with plain file I/O. Both sides do the same
// disk work: the load reads the file, the save reads it again (to keep what others wrote
// since) and writes it back, so the plain side reads twice and writes once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "table/ini_file.h"
#include "table/program_table.h"
#include "table/table_file.h"

namespace {

using namespace tastomat;

// The files as a plain disk holds them, through the same streams the plain side uses.
class DiskFiles final : public FileSystem {
  public:
    std::optional<std::string> read_file(const std::string& path) override {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void replace_file(const std::string& path, const std::string& bytes) override {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw FileError("Cannot write file \"" + path + "\".");
    }
    bool file_exists(const std::string& path) override { return std::filesystem::exists(path); }
    bool directory_exists(const std::string& path) override {
        return std::filesystem::is_directory(path);
    }
    bool create_directories(const std::string& path) override {
        return std::filesystem::create_directories(path);
    }
    bool copy_file(const std::string&, const std::string&) override { return false; }
};

std::string bench_file() {
    return (std::filesystem::temp_directory_path() / "tastomat_settings_bench.ini").string();
}

// 48 assigned slots with working directories and parameters, window sections before them
// and 1,000 entries of other programs in ten sections of their own.
void write_full_file(const std::string& path, FileSystem& files, CodePage& code_page) {
    std::filesystem::remove(path);
    IniFile ini(path, files, code_page);
    ini.write_string("Info", "Gestartet", "08.12.2026 09:15:00");
    for (int c = 0; c < 12; ++c)
        ini.write_string("Programmliste", "Control" + std::to_string(c), "Left=12;Top=34");
    for (int i = 0; i < 1000; ++i)
        ini.write_string("Fremd" + std::to_string(i / 100), "Eintrag" + std::to_string(i),
                         "C:\\Programme\\Anderes\\Werkzeug " + std::to_string(i) + ".exe");
    ProgramTable table;
    for (int i = 0; i < kSlotCount; ++i) {
        table.Progs[i] = "C:\\Tools\\Programm " + std::to_string(i) + "\\start.exe";
        table.Verzeichnisse[i] = "C:\\Texte\\Ordner " + std::to_string(i) + "\\";
        table.Parameter[i] = "-n liste" + std::to_string(i) + ".txt";
    }
    table.save(ini);
    ini.update_file();
}

// The file both measurements start from: written once, its path returned.
std::string full_file(FileSystem& files, CodePage& code_page) {
    std::string path = bench_file();
    write_full_file(path, files, code_page);
    return path;
}

void count_bytes(benchmark::State& state, const std::string& path) {
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

void settings_load_and_save(benchmark::State& state) {
    DiskFiles files;
    Windows1252 code_page;
    const std::string path = full_file(files, code_page);
    for (auto _ : state) {
        ProgramTable table;
        IniFile loaded = begin_table_load(table, path, files, code_page);
        benchmark::DoNotOptimize(loaded);
        save_table(table, path, files, code_page);
    }
    count_bytes(state, path);
}

void plain_read_read_write(benchmark::State& state) {
    DiskFiles files;
    Windows1252 code_page;
    const std::string path = full_file(files, code_page);
    for (auto _ : state) {
        std::ifstream first(path, std::ios::binary);
        std::string loaded(std::istreambuf_iterator<char>(first), {});
        std::ifstream second(path, std::ios::binary);
        std::string again(std::istreambuf_iterator<char>(second), {});
        benchmark::DoNotOptimize(loaded);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(again.data(), static_cast<std::streamsize>(again.size()));
    }
    count_bytes(state, path);
}

BENCHMARK(settings_load_and_save)->Unit(benchmark::kMicrosecond);
BENCHMARK(plain_read_read_write)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
