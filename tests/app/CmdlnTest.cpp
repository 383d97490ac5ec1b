#include "Cmdln.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace chromint {
namespace {

TEST(CommandLine, SplitsTheExecutablePath) {
    struct Row {
        const char* name;
        QString fileName;
        QString directory, path, exeName;
    };
    const Row rows[] = {
        {"installed", "/opt/tools/app/chromint", "/opt/tools/app", "/opt/tools/app/", "chromint"},
        {"in_the_root_folder", "/chromint", "", "/", "chromint"},
        {"untidy_path", "/opt//tools/./app/chromint", "/opt/tools/app", "/opt/tools/app/",
         "chromint"},
        {"blanks_in_folder", "/home/ann/my tools/chromint", "/home/ann/my tools",
         "/home/ann/my tools/", "chromint"},
        {"unknown", "", "", "", ""},
    };
    for (const Row& row : rows) {
        const TCommandLine line({QStringLiteral("chromint")}, row.fileName);
        EXPECT_EQ(line.Directory(), row.directory) << row.name;
        EXPECT_EQ(line.Path(), row.path) << row.name;
        EXPECT_EQ(line.ExeName(), row.exeName) << row.name;
    }
    // The help file sits in a folder beside the executable.
    const TCommandLine line({}, QStringLiteral("/opt/tools/app/chromint"));
    EXPECT_EQ(line.Directory() + QStringLiteral("/help/Chromint.chm"),
              QStringLiteral("/opt/tools/app/help/Chromint.chm"));
}

TEST(CommandLine, CountsTheParameters) {
    struct Row {
        const char* name;
        QStringList arguments;
        int count;
        QString line;
    };
    const Row rows[] = {
        {"none", {"chromint"}, 0, "chromint"},
        {"nothing_at_all", {}, 0, ""},
        {"two", {"./chromint", "-a", "b.png"}, 2, "./chromint -a b.png"},
        {"blanks_and_quotes",
         {"chromint", "my file.png", "say \"hi\"", ""},
         3,
         "chromint \"my file.png\" \"say \\\"hi\\\"\" \"\""},
    };
    for (const Row& row : rows) {
        const TCommandLine line(row.arguments, QStringLiteral("/usr/bin/chromint"));
        EXPECT_EQ(line.Count(), row.count) << row.name;
        EXPECT_EQ(line.ParamList(), row.arguments.mid(1)) << row.name;
        EXPECT_EQ(line.Line(), row.line) << row.name;
    }
}

TEST(CommandLine, HasSwitch) {
    const TCommandLine line({"chromint", "-lang:de", "/Verbose", "picture.png", "--x", "-"},
                            QStringLiteral("/usr/bin/chromint"));
    struct Row {
        const char* name;
        QString sw;
        bool ignoreCase;
        bool expected;
    };
    const Row rows[] = {
        {"whole_switch_with_value", "lang:de", false, true},
        {"switch_without_its_value", "lang", false, false},
        {"slash_prefix", "Verbose", false, true},
        {"other_case", "verbose", false, false},
        {"other_case_ignored", "VERBOSE", true, true},
        {"plain_parameter", "picture.png", true, false},
        {"second_dash_is_part_of_the_switch", "-x", false, true},
        {"double_dash_switch", "x", false, false},
        {"lone_dash", "", false, true},
        {"prefix_of_a_switch", "lan", false, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(line.HasSwitch(row.sw, row.ignoreCase), row.expected) << row.name;
    EXPECT_FALSE(TCommandLine({"chromint"}, "/usr/bin/chromint").HasSwitch("", false));
}

TEST(CommandLine, FilterAndSwitchParam) {
    struct Row {
        const char* name;
        QString sw;
        QChar separator;
        QString filter, param;
    };
    const Row rows[] = {
        {"name_and_value", "lang:de", ':', "lang", "de"},
        {"no_separator", "lang", ':', "lang", ""},
        {"first_separator_counts", "a:b:c", ':', "a", "b:c"},
        {"empty_value", "lang:", ':', "lang", ""},
        {"empty_name", ":de", ':', "", "de"},
        {"null_separator", "lang:de", QChar(), "lang:de", ""},
        {"other_separator", "size=10", '=', "size", "10"},
        {"empty", "", ':', "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TCommandLine::Filter(row.sw, row.separator), row.filter) << row.name;
        EXPECT_EQ(TCommandLine::SwitchParam(row.sw, row.separator), row.param) << row.name;
    }
}

TEST(CommandLine, ThisProcess) {
    const TCommandLine& line = CommandLine();
    EXPECT_EQ(&line, &CommandLine()) << "one instance per process";
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(line.FileName().toStdString(), exe.string());
    EXPECT_EQ(line.Directory().toStdString(), exe.parent_path().string());
    EXPECT_EQ(line.ExeName().toStdString(), exe.filename().string());
    EXPECT_GE(line.Count(), 0);
}

} // namespace
} // namespace chromint
