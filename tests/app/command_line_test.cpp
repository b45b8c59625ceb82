// The command-line conventions of kvadrel-batch and kvadrel-dump: --help,
// --version, and usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/kvadrel_version.h"
#include "batch_workspace.h"

namespace {

struct Case {
    const char* program;
    std::vector<std::string> arguments;
};

BatchWorkspace::Run RunProgram(const BatchWorkspace& ws, const Case& test) {
    ChildProgram child(std::string(KVADREL_BINARY_DIR) + "/app/" + test.program, test.arguments,
                       {"XDG_CONFIG_HOME=" + ws.ConfigHome().string(),
                        "XDG_STATE_HOME=" + ws.StateHome().string()},
                       ErrorOutput::Pipe);
    const int status = child.WaitForExit(kRunBound);
    return {status, child.Output(), child.Errors()};
}

std::string Trace(const Case& test) {
    std::string text = test.program;
    for (const auto& argument : test.arguments) {
        text += " " + argument;
    }
    return text;
}

TEST(CommandLine, HelpPrintsTheUsageAndTheOptionsAndSucceeds) {
    const BatchWorkspace ws;
    const std::vector<Case> cases = {
        {"kvadrel-batch", {"--help"}},
        {"kvadrel-batch", {"--once", "--help"}},
        {"kvadrel-dump", {"--help"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(Trace(test));
        const BatchWorkspace::Run run = RunProgram(ws, test);
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.output.starts_with(std::string("usage: ") + test.program + " "))
            << run.output;
        EXPECT_NE(run.output.find("--version"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("Exit status"), std::string::npos) << run.output;
        EXPECT_EQ(run.errors, "");
    }
}

TEST(CommandLine, VersionIsTheProjectVersion) {
    const BatchWorkspace ws;
    for (const char* program : {"kvadrel-batch", "kvadrel-dump"}) {
        SCOPED_TRACE(program);
        const BatchWorkspace::Run run = RunProgram(ws, {program, {"--version"}});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.output, std::string(program) + " " + kKvadrelVersion + "\n");
        EXPECT_EQ(run.errors, "");
    }
    EXPECT_STRNE(kKvadrelVersion, "");
}

TEST(CommandLine, UnknownOptionsAndMisusedCommandsGiveTheUsageAndStatusTwo) {
    BatchWorkspace ws;
    ws.WriteSource("a.txt", {"&АМТ", "/01=1"});
    const std::vector<Case> cases = {
        {"kvadrel-batch", {"--bogus"}},
        {"kvadrel-batch", {"-h"}},
        {"kvadrel-batch", {"--journal", "--once"}},
        {"kvadrel-batch", {"--journal", "--preview", "T", "f"}},
        {"kvadrel-batch", {"--preview", "T"}},
        {"kvadrel-batch", {"--journal", "--ini", "x.INI"}},
        {"kvadrel-batch", {"--journal", "-3"}},
        {"kvadrel-dump", {"--bogus"}},
        {"kvadrel-dump", {"-x", "a.dbf"}},
        {"kvadrel-dump", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(Trace(test));
        const BatchWorkspace::Run run = RunProgram(ws, test);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_NE(run.errors.find(std::string("usage: ") + test.program + " "), std::string::npos)
            << run.errors;
        EXPECT_TRUE(run.errors.starts_with(std::string(test.program) + ": ")) << run.errors;
    }
    EXPECT_TRUE(std::filesystem::exists(ws.In() / "a.txt"));
    EXPECT_FALSE(std::filesystem::exists(ws.StateHome()));
}

TEST(CommandLine, DumpTakesATableNamedLikeAnOptionAfterTwoDashes) {
    const BatchWorkspace ws;
    const BatchWorkspace::Run run = RunProgram(ws, {"kvadrel-dump", {"--", "--help"}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_NE(run.errors.find("--help"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("usage:"), std::string::npos) << run.errors;
}

}  // namespace
