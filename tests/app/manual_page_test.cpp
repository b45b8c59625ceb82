// The manual page of kvadrel-batch documents every option that its --help
// lists, and no other: its synopsis and its OPTIONS section each against
// the program's own output.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "batch_workspace.h"

namespace {

using TOptions = std::set<std::string>;

// Every "--name" in `text`, where `dashes` matches the two dashes as written.
TOptions OptionsIn(const std::string& text, const std::string& dashes) {
    const std::regex option(dashes + "([a-z]+)");
    TOptions options;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), option);
         match != std::sregex_iterator(); ++match) {
        options.insert("--" + (*match)[1].str());
    }
    return options;
}

// The options of a manual page's text, where a dash is written "\-".
TOptions PageOptions(const std::string& text) {
    return OptionsIn(text, R"(\\-\\-)");
}

std::string ReadPage(const char* name) {
    std::ifstream file(std::string(KVADREL_MANUAL_PAGES) + "/" + name);
    EXPECT_TRUE(file) << name;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The lines of section `name`, up to the next section.
std::string Section(const std::string& page, const std::string& name) {
    const std::string heading = ".SH " + name + "\n";
    const auto start = page.find(heading);
    EXPECT_NE(start, std::string::npos) << heading;
    if (start == std::string::npos) {
        return "";
    }
    const auto body = start + heading.size();
    return page.substr(body, page.find("\n.SH ", body) - body);
}

// The first line after each ".TP": the tags of an OPTIONS section.
std::string Tags(const std::string& section) {
    std::istringstream lines(section);
    std::string tags;
    bool tag = false;
    for (std::string line; std::getline(lines, line);) {
        if (tag) {
            tags += line + "\n";
        }
        tag = line == ".TP";
    }
    return tags;
}

struct THelp {
    std::string usage;    // up to the first empty line
    std::string options;  // the rest
};

THelp BatchHelp() {
    const BatchWorkspace ws;
    const BatchWorkspace::Run run = ws.RunToEnd({"--help"});
    EXPECT_EQ(run.status, 0) << run.errors;
    const auto end = run.output.find("\n\n");
    return {run.output.substr(0, end), run.output.substr(end)};
}

}  // namespace

TEST(ManualPage, BatchOptionsAreThoseItsHelpLists) {
    const THelp help = BatchHelp();
    const TOptions listed = OptionsIn(help.options, "--");
    ASSERT_TRUE(listed.contains("--check") && listed.contains("--once")) << help.options;

    const std::string page = ReadPage("kvadrel-batch.1");
    EXPECT_EQ(PageOptions(Tags(Section(page, "OPTIONS"))), listed);
    EXPECT_EQ(PageOptions(Section(page, "SYNOPSIS")), OptionsIn(help.usage, "--"));
}
