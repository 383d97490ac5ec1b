#pragma once

// What the fuzz targets share: the input as the types the entry points take, a way to report
// a broken promise as a finding, and the application object some of Qt's code needs.

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace chromint::fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The bytes without a copy (and without the terminating zero a QByteArray usually has, so a
// read past the end is seen).
inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

inline QString Utf8(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A promise of the entry point that the input broke: a finding like a crash.
[[noreturn]] inline void Broken(const char* what) {
    std::fprintf(stderr, "fuzz: broken promise: %s\n", what);
    std::abort();
}

// One application for the whole run, on the offscreen platform so that no display is needed.
inline void NeedGuiApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "chromint-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace chromint::fuzz

// The entry point every target defines; libFuzzer or ReplayMain.cpp calls it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
