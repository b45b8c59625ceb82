// A Moscow-region update file converted end to end by the built kvadrel-batch
// and read back by an independent dBASE reader.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/codepage.h"
#include "tests/engine/moscow_scrambler.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

struct Finished {
    int status = -1;     // the exit status, -1 when it did not exit
    std::string output;  // standard output and error
};

Finished RunShell(const std::string& command) {
    Finished result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    char chunk[4096];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) {
        result.output.append(chunk, got);
    }
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    return result;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Runs kvadrel-batch --once; while another copy runs on this machine (status
// 3, the single-instance lock), it tries again.
Finished RunBatchOnce(const fs::path& configHome, const fs::path& ini) {
    const std::string command = "XDG_CONFIG_HOME=" + Quoted(configHome) + " " +
                                Quoted(fs::path(KVADREL_BINARY_DIR) / "app" / "kvadrel-batch") +
                                " --once --ini " + Quoted(ini);
    Finished result;
    for (int attempt = 0; attempt < 300; ++attempt) {
        result = RunShell(command);
        if (result.status != 3) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return result;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(MoscowBatch, AFileBecomesATableThatAnIndependentReaderReads) {
    const TempDirectory root;
    const fs::path in = root.path() / "in";
    const fs::path out = root.path() / "out";
    fs::create_directories(root.path() / "config" / "kvadrel");
    fs::create_directories(in);
    fs::create_directories(out);

    WriteFile(root.path() / "config" / "kvadrel" / "registry.reg",
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва]\n"
              "\"Codec\"=dword:00000001\n\"Ident\"=\"R_AMT\"\n"
              "\"From\"=\"" +
                  in.string() + "/\"\n\"To\"=\"" + out.string() +
                  "/\"\n"
                  "\"Mask\"=\"*.txt\"\n\"SpecProd\"=dword:00000001\n\"KodObj\"=\"КОД\"\n\n"
                  "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва\\100]\n"
                  "\"Name\"=\"КОД\"\n\"Size\"=dword:00000002\n\"Code\"=dword:00000007\n\n"
                  "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва\\101]\n"
                  "\"Name\"=\"НОМЕР\"\n\"Size\"=dword:00000007\n\"Code\"=dword:0000000a\n\n"
                  "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва\\102]\n"
                  "\"Name\"=\"ВЛАДЕЛЕЦ\"\n\"Size\"=dword:0000000c\n\"Code\"=dword:00000012\n\n"
                  "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва\\103]\n"
                  "\"Name\"=\"ДАТА\"\n\"Size\"=dword:0000000a\n\"Code\"=dword:0000001e\n");
    const fs::path ini = root.path() / "kvadrel.INI";
    WriteFile(ini, "[CodeValue]\nKodObj=01;02\n");

    // Columns: object code 7-8, number 10-16, owner 18-29, date 30-39.
    std::string source;
    for (const char* record : {
             "R_AMT 01 0012345 ООО Ландыш  01.02.2020",
             "R_XYZ 01 9999999 ЧУЖАЯ ЗАПИСЬ",
             "R_AMT 03 0012346 Не наш объект",
             "R_AMT 02 0012347 Ёжиков Пётр .  .",
         }) {
        source += moscow_scrambler::Scramble(platform::Utf8ToCp1251(record)) + "\r\n";
    }
    WriteFile(in / "msk-0001.txt", source);

    const Finished batch = RunBatchOnce(root.path() / "config", ini);
    ASSERT_EQ(batch.status, 0) << batch.output;
    EXPECT_EQ(batch.output, (in / "msk-0001.txt").string() + " -> " +
                                (out / "msk-0001.dbf").string() + " (2 records)\n");
    EXPECT_FALSE(fs::exists(in / "msk-0001.txt"));

    // The reader library is a system package: only the system interpreter has it.
    const fs::path reader = fs::path(KVADREL_FIXTURES).parent_path() / "engine" / "read_dbf.py";
    const Finished read =
        RunShell("/usr/bin/python3 " + Quoted(reader) + " " + Quoted(out / "msk-0001.dbf"));
    ASSERT_EQ(read.status, 0) << read.output;
    EXPECT_EQ(read.output,
              R"({"version": 3, "encoding": "cp1251", "records": 2, )"
              R"("fields": [["КОД", 2], ["НОМЕР", 7], ["ВЛАДЕЛЕЦ", 12], ["ДАТА", 10]], )"
              R"("rows": [["01", "0012345", "ООО Ландыш", "01.02.2020"], )"
              R"(["02", "0012347", "Ёжиков Пётр", ""]]})"
              "\n");
}

}  // namespace
