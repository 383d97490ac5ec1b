#pragma once

// Shared helpers for the dialog tests: the engine's HSL range as start-up sets it, pressing
// a dialog's buttons from a timer while exec() runs, and clicking a swatch grid's cells.

#include "ColorUtils.h"
#include "ModalDriver.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>

namespace chromint::testing {

// Integer HSL in degrees and percent, as the program runs; the previous range is restored.
class ProgramHSLRange : public ::testing::Test {
protected:
    ProgramHSLRange() : previous_(GetHSLRange()) { SetHSLRange(360, 100, 100); }
    ~ProgramHSLRange() override {
        SetHSLRange(previous_.hue, previous_.saturation, previous_.lightness);
    }

private:
    HSLRange previous_;
};

// A step that checks the modal window is a T, runs the check on it, then clicks a button.
template <class T, class Check>
ModalDriver::Step Press(const char* button, Check check) {
    return [button, check](QWidget* modal) {
        auto* dialog = qobject_cast<T*>(modal);
        ASSERT_NE(dialog, nullptr)
            << "another window is modal: " << modal->metaObject()->className();
        check(dialog);
        auto* b = dialog->template findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    };
}

template <class T>
ModalDriver::Step Press(const char* button) {
    return Press<T>(button, [](T*) {});
}

// The settings accessors the commands use, with the types the program's settings have.
class FakeSettings {
public:
    std::uint8_t SepiaDepth() const { return sepiaDepth_; }
    void SetSepiaDepth(int value) { sepiaDepth_ = static_cast<std::uint8_t>(value); }
    std::uint8_t SepiaIntensity() const { return sepiaIntensity_; }
    void SetSepiaIntensity(int value) { sepiaIntensity_ = static_cast<std::uint8_t>(value); }
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor value) { blendColor_ = value; }
    std::uint8_t BlendValue() const { return blendValue_; }
    void SetBlendValue(int value) { blendValue_ = static_cast<std::uint8_t>(value); }
    std::uint8_t BlendPath() const { return blendPath_; }
    void SetBlendPath(int value) { blendPath_ = static_cast<std::uint8_t>(value); }

private:
    std::uint8_t sepiaDepth_ = 30;
    std::uint8_t sepiaIntensity_ = 20;
    TColor blendColor_ = clWhite;
    std::uint8_t blendValue_ = 50;
    std::uint8_t blendPath_ = 0;
};

} // namespace chromint::testing
