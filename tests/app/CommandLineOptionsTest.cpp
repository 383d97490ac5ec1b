#include "CommandLineOptions.h"

#include "TestRows.h"

#include <gtest/gtest.h>

namespace chromint {
namespace {

struct OptionsRow {
    const char* row;
    QStringList arguments;
    bool help, version, pick, print;
    QStringList files;
    bool error;
};
CHROMINT_PRINT_ROW(OptionsRow, row)

const OptionsRow kRows[] = {
    {"nothing", {}, false, false, false, false, {}, false},
    {"help", {"--help"}, true, false, false, false, {}, false},
    {"short help", {"-h"}, true, false, false, false, {}, false},
    {"version", {"--version"}, false, true, false, false, {}, false},
    {"pick", {"--pick"}, false, false, true, false, {}, false},
    {"pick and print", {"--pick", "--print"}, false, false, true, true, {}, false},
    {"print alone", {"--print"}, false, false, false, true, {}, true},
    {"unknown option", {"--frobnicate"}, false, false, false, false, {}, true},
    {"pictures", {"a.png", "b c.jpg"}, false, false, false, false, {"a.png", "b c.jpg"}, false},
};

class StartOptionsTest : public testing::TestWithParam<OptionsRow> {};

TEST_P(StartOptionsTest, ReadsTheCommandLine) {
    const OptionsRow& row = GetParam();
    const TStartOptions options = ParseStartOptions(QStringList{"chromint"} + row.arguments);
    EXPECT_EQ(options.help, row.help);
    EXPECT_EQ(options.version, row.version);
    EXPECT_EQ(options.pick, row.pick);
    EXPECT_EQ(options.print, row.print);
    EXPECT_EQ(options.files, row.files);
    EXPECT_EQ(!options.error.isEmpty(), row.error) << options.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, StartOptionsTest, testing::ValuesIn(kRows),
                         test::RowName<::testing::TestParamInfo<OptionsRow>>);

} // namespace
} // namespace chromint
