#pragma once

// The files the program saves, each in two known versions, for the test that kills a saving
// process (chromint_save_worker) and checks what is left on disk.

#include <span>
#include <string>
#include <string_view>

namespace chromint::test {

struct SaveKind {
    const char* row; // the row's name, also the worker's argument
    const char* fileName;
    bool needsGui; // drawing text needs a QGuiApplication
    // Saves version 0 or 1 through the program's own code; throws when that fails.
    void (*save)(const std::string& file, int version);
    // Empty when the file reads back as the version, otherwise what was read instead.
    std::string (*check)(const std::string& file, int version);
};

std::span<const SaveKind> SaveKinds();

// nullptr for an unknown name.
const SaveKind* FindSaveKind(std::string_view row);

} // namespace chromint::test
