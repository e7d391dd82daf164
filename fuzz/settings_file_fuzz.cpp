// The settings-file reader on any bytes, in every encoding (the dictionary holds the
// byte-order marks). Whatever it reads it writes, without losing a line; reading that
// again gives the same entries, and writing once more gives the same bytes - also after
// the table was loaded and saved into it and after a value that turns the file into
// UTF-16.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/fakes.h"
#include "support/hostile_files.h"
#include "table/ini_file.h"
#include "table/program_table.h"
#include "table/text_encoding.h"

namespace {

constexpr const char* kFile = "C:\\S\\Tastomat.ini";

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// Writes the file, reads it back and checks that nothing changed on the way.
void round_trip(tastomat::IniFile& ini, tastomat::test::FakeFileSystem& files,
                tastomat::CodePage& code_page) {
    ini.update_file();
    const std::string written = files.content(kFile);
    tastomat::IniFile again(kFile, files, code_page);
    require(again.entries() == ini.entries(), "entries read back differ from those written");
    require(again.text() == ini.text(), "text read back differs from the text written");
    require(again.encoding() == ini.encoding(), "encoding read back differs");
    again.update_file();
    require(files.content(kFile) == written, "a second write gives other bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastomat;
    test::FakeFileSystem files;
    files.add_dir("C:\\S");
    files.add_file(kFile, std::string(reinterpret_cast<const char*>(data), size));
    Windows1252 code_page;

    IniFile ini(kFile, files, code_page);
    const std::string read = decode_text(files.content(kFile), code_page).text;
    require(test::lost_lines(read, ini.text()).empty(), "a line read is not written");
    round_trip(ini, files, code_page);

    ProgramTable table;
    table.load(ini);
    table.save(ini);
    round_trip(ini, files, code_page);
    ProgramTable again;
    again.load(IniFile(kFile, files, code_page));
    require(again.Progs == table.Progs && again.Verzeichnisse == table.Verzeichnisse &&
                again.Parameter == table.Parameter,
            "the table read back differs from the table saved");

    ini.write_string("Buchstaben", "A",
                     "E:\\\xC5\x81\xC3\xB3"
                     "d\xC5\xBA\\probe.exe");
    round_trip(ini, files, code_page);
    return 0;
}
