#include "FileDialogSize.h"

#include "SettingsFiles.h"

#include <QFileDialog>

#include <gtest/gtest.h>

namespace chromint {
namespace {

TEST(FileDialogStartSize, ShowsTheColumnsAndKeepsWhatTheUserChose) {
    EXPECT_EQ(FileDialogStartSize({}, {1280, 1024}), QSize(900, 560));
    EXPECT_EQ(FileDialogStartSize({700, 400}, {1280, 1024}), QSize(700, 400));
    EXPECT_EQ(FileDialogStartSize({10, 10}, {1280, 1024}), QSize(900, 560)) << "not a size";
    EXPECT_EQ(FileDialogStartSize({}, {800, 600}), QSize(720, 540)) << "a small screen";
    EXPECT_EQ(FileDialogStartSize({3000, 2000}, {1280, 1024}), QSize(1152, 921));
}

// The size a user leaves one file dialog at is the size the next one opens at, also after a
// restart.
TEST(FileDialogSizeKeeper, NextDialogOpensAtTheSizeTheUserLeft) {
    testing::TempConfigHome home;
    {
        QFileDialog first;
        FileDialogSizeKeeper keeper(first);
        EXPECT_GE(first.width(), 600) << "wide enough for the columns";
        first.resize(777, 555);
    }
    QFileDialog second;
    FileDialogSizeKeeper keeper(second);
    EXPECT_EQ(second.size(), QSize(777, 555));
}

} // namespace
} // namespace chromint
