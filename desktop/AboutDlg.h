#pragma once

#include "chromint_version.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QWidget;

namespace chromint {

struct TProgramVersion {
    std::uint16_t major;
    std::uint16_t minor;
    std::uint16_t release;
    std::uint16_t build;
};

// From project(VERSION) in the top-level CMakeLists.txt, through the generated chromint_version.h.
inline constexpr TProgramVersion ProgramVersion{ChromintVersionMajor, ChromintVersionMinor,
                                                ChromintVersionPatch, ChromintVersionTweak};
// The maker's web address the About box links to.
inline constexpr const char* MakerWebAddress = "https://qelvo.example/chromint";

// The About box: the product picture and name, the version, the legal notice and the maker's
// web address.
class TAboutDialog : public QDialog {
    Q_OBJECT
public:
    // note, when given, is a word about this session shown under the picture panel.
    explicit TAboutDialog(QWidget* parent = nullptr, const QString& note = {});

    // Runs the box modally, centred on its parent.
    static void ShowAbout(QWidget* parent, const QString& note = {});

    QWidget* Panel() const { return panel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lblLinkClick();

    QWidget* panel_ = nullptr;
    QLabel* lblAppVersion_ = nullptr;
    QLabel* lblLink_ = nullptr;
    QPushButton* btnOk_ = nullptr;
};

} // namespace chromint
