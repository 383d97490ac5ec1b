#include "SystemColorsDlg.h"

#include "DesktopUtils.h"
#include "SystemColors.h"
#include "mbColorList.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace chromint {

namespace {

struct NamedIndex {
    const char* name;
    std::uint8_t index;
};

constexpr std::array<NamedIndex, 30> kSystemColors = {{
    {"Active Border", 10},
    {"Active Caption", 2},
    {"Application Workspace", 12},
    {"Background", 1},
    {"Button Face", 15},
    {"Button Highlight", 20},
    {"Button Shadow", 16},
    {"Button Text", 18},
    {"Caption Text", 9},
    {"Gradient Active Caption", 27},
    {"Gradient Inactive Caption", 28},
    {"Gray Text", 17},
    {"Highlight Background", 13},
    {"Highlight Text", 14},
    {"Hot Light", 26},
    {"Inactive Border", 11},
    {"Inactive Caption", 3},
    {"Inactive Caption Text", 19},
    {"Info Background", 24},
    {"Info Text", 23},
    {"Menu Background", 4},
    {"Menu Bar", 30},
    {"Menu Highlight", 29},
    {"Menu Text", 7},
    {"Scroll Bar", 0},
    {"3D Dark Shadow", 21},
    {"3D Light", 22},
    {"Window Background", 5},
    {"Window Frame", 6},
    {"Window Text", 8},
}};

constexpr TColor kButtonFace = SystemColorFlag | 15;

// The list shows this many entries without scrolling.
constexpr int kVisibleEntries = 10;
constexpr int kListWidth = 280;

} // namespace

SystemFrameColors CurrentFrameColors() {
    SystemFrameColors frame;
    frame.composition = Aero::IsCompositionEnabled();
    if (frame.composition) {
        frame.source = Aero::GetAeroColor();
        frame.visible = Aero::GetAeroVisibleColor();
    }
    return frame;
}

std::vector<SystemColorEntry> SystemColorEntries(const SystemFrameColors& frame) {
    std::vector<SystemColorEntry> entries;
    entries.reserve(kSystemColors.size() + 2);
    for (const NamedIndex& c : kSystemColors)
        entries.push_back({QString::fromLatin1(c.name), SystemColorFlag | c.index});
    if (frame.composition) {
        if (frame.source != clNone)
            entries.push_back({QStringLiteral("Aero Source"), frame.source});
        if (frame.visible != clNone)
            entries.push_back({QStringLiteral("Aero Visible"), frame.visible});
    }
    return entries;
}

int SystemColorPreselection(const std::vector<SystemColorEntry>& entries, TColor color) {
    int buttonFace = 0;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const TColor stored = entries[static_cast<std::size_t>(i)].color;
        if (stored == color)
            return i;
        if (stored == kButtonFace)
            buttonFace = i;
    }
    return buttonFace;
}

TSystemColorsDialog::TSystemColorsDialog(TColor color, QWidget* parent)
    : TSystemColorsDialog(color, CurrentFrameColors(), parent) {}

TSystemColorsDialog::TSystemColorsDialog(TColor color, const SystemFrameColors& frame,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SystemColorsDialog"));
    setWindowTitle(QStringLiteral("System colors"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The desktop entry shows the desktop as it is now, not as it was when first asked.
    RefreshDesktopEntry();

    ColorList = new TmbColorList(this);
    ColorList->setObjectName(QStringLiteral("ColorList"));
    ColorList->setFixedSize(kListWidth, kVisibleEntries * ColorList->ItemHeight() +
                                            2 * ColorList->frameWidth());
    layout->addWidget(ColorList);

    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    const std::vector<SystemColorEntry> entries = SystemColorEntries(frame);
    for (const SystemColorEntry& entry : entries)
        ColorList->AddColor(entry.name, entry.color, false);
    ColorList->UpdateColors();
    ColorList->setCurrentRow(SystemColorPreselection(entries, color));
    // A double-click picks the entry, as "OK" does.
    connect(ColorList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

bool TSystemColorsDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TSystemColorsDialog::SystemColor() const {
    const int row = ColorList->currentRow();
    if (row < 0 || row >= ColorList->ColorCount())
        return clNone;
    return ResolveSystemColor(ColorList->Colors[static_cast<std::size_t>(row)].Value);
}

bool RunSystemColorCommand(QWidget* parent, TColor current,
                           const ConfirmWebColorFn& confirmWebColor,
                           const MakeCurrentFn& makeCurrent) {
    TSystemColorsDialog dialog(current, parent);
    if (!dialog.Execute())
        return false;
    const TColor picked = dialog.SystemColor();
    if (picked == clNone)
        return false;
    const std::optional<TColor> color = confirmWebColor(picked);
    if (!color)
        return false;
    makeCurrent(*color);
    return true;
}

} // namespace chromint
