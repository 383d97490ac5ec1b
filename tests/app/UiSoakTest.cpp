// A long random walk through the main window: typing, clicks, drags, the wheel and keys on
// every view, menu commands, dialogs opened and cancelled. After every step all views must
// show the one current colour.
//
// CHROMINT_SOAK_SEED and CHROMINT_SOAK_ACTIONS choose the walk; a failure names both, so
// the same walk can be run again up to the step that failed.

#include "../support/SettingsFiles.h"
#include "CIE.h"
#include "CodeBox.h"
#include "ColorOperations.h"
#include "ColorUtils.h"
#include "ColorUtilsWeb.h"
#include "CopyMenu.h"
#include "Favourites.h"
#include "HSLColorPicker.h"
#include "MainFrm.h"
#include "Rounding.h"
#include "mbColorPalette.h"
#include "mbColorPreview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace chromint {
namespace {

// The editors are rewritten group by group; the one typed into keeps what was typed.
enum class Group { None, RGB, HSL, CMYK, Lab, Code };

struct NamedKey {
    Qt::Key key;
    const char* name;
};

struct EditorRow {
    const char* name;
    Group group;
};
constexpr EditorRow kEditors[] = {
    {"edtR", Group::RGB},    {"edtG", Group::RGB},    {"edtB", Group::RGB},
    {"edtH", Group::HSL},    {"edtS", Group::HSL},    {"edtL", Group::HSL},
    {"edtC", Group::CMYK},   {"edtM", Group::CMYK},   {"edtY", Group::CMYK},
    {"edtK", Group::CMYK},   {"edtCIEL", Group::Lab}, {"edtCIEa", Group::Lab},
    {"edtCIEb", Group::Lab},
};

// Dialogs the walk opens and cancels; a name the window does not have is passed over.
constexpr const char* kDialogCommands[] = {
    "miBlend",          "miCreateSepia",      "miFromScheme",       "miColorFromSystem",
    "miColorFromImage", "miExportColor",      "miContrast",         "miCustomFormats",
    "miAbout",          "miImportFavourites", "miExportFavourites",
};

// Colour commands that change the colour at once, without a dialog.
constexpr const char* kColorCommands[] = {
    "miStandard", "miNTSC",      "miInfrared",        "miRed",     "miGreen",
    "miBlue",     "miHybrid",    "miSwapRG",          "miSwapRB",  "miSwapGB",
    "miInvert",   "miRandomize", "miUseCurrentColor", "miWebSafe", "miWebSmart",
};

// clang-format off
const char* const kJunkNumbers[] = {
    "abc", "-", "12a", "1e3", " 5", "+7", "0x1F", "--3", "3.5", "007", "-0", "٣",
    "99999999999999999999",
};

const char* const kFixedCodes[] = {
    "red", "steelblue", "DarkGrey", "rebeccapurple", "transparent", "currentcolor", "f0c",
    "#12345", "zzz", "rgb(", "oklch(70% 0.1", "#gggggg", "  ", "rgb(1e400 0 0)",
    "hsl(nan 0% 0%)", "lab(50% 1e308 1e308)", "oklch(70% 0.1 200)", "rgb(1 2 3)",
    "rgba(1 2 3 / 50%)", "color(display-p3 1 0 0)", "#FFF;", "hwb(0 0% 0% / 0)",
};
// clang-format on

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return fallback;
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

// Text for the log: long texts by their start and length.
std::string Quoted(const QString& text) {
    if (text.size() <= 40)
        return '"' + text.toStdString() + '"';
    return '"' + text.left(24).toStdString() + "...\" (" + std::to_string(text.size()) +
           " characters)";
}

std::string Hex(TColor color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

class UiSoak {
public:
    UiSoak(TMainForm& form, unsigned seed, const QString& picture)
        : form_(form), random_(seed), picture_(picture) {
        for (const EditorRow& row : kEditors)
            editors_.push_back(Child<QSpinBox>(row.name));
        code_ = Child<QLineEdit>("edtDeveloper");
        notation_ = Child<QComboBox>("cbDeveloper");
        pages_ = Child<QTabWidget>("PageControl");
        webSafe_ = Child<QCheckBox>("cbWebSafe");
        favourites_ = Child<TmbColorPalette>("Favourites");
        // Every modal window the walk opens is cancelled, by Esc or by reject() in turn.
        closer_.setInterval(10);
        QObject::connect(&closer_, &QTimer::timeout, [this] { CloseModal(); });
        closer_.start();
        QObject::connect(&form_, &TMainForm::currentColorChanged, [this] { ++pushes_; });
    }

    // Runs one step; returns an empty text, or what disagreed after it.
    std::string Step(std::string& description) {
        modals_.clear();
        // Some dialogs seed the window's random source from the clock: seed it from the walk.
        GlobalRandom().Seed(static_cast<std::uint32_t>(random_()));
        const TColor before = form_.CurrentColor();
        const bool webOnlyBefore = form_.WebOnly();
        const Group pending = PendingGroup();
        stepFrom_ = pushes_;
        typingGroup_ = Group::None;
        typingFrom_ = -1;
        expectUnchanged_ = false;
        webSmart_ = false;
        description = RunAction();
        QApplication::processEvents();
        QApplication::processEvents();
        if (!modals_.empty())
            description += " [closed " + modals_ + "]";
        // The window manager gives the focus back to the window once its dialog has gone;
        // without one, the walk does.
        if (!form_.isActiveWindow()) {
            form_.activateWindow();
            if (!QTest::qWaitForWindowActive(&form_))
                return "the window could not be activated again";
        }
        const bool pushed = pushes_ > stepFrom_;
        if (pushed) {
            // The last push came from the editor typed into, or else from a pending edit read
            // as the focus left it; any other push rewrites every editor.
            pushGroup_ = typingFrom_ >= 0 && pushes_ > typingFrom_ ? typingGroup_ : pending;
            if (typingGroup_ != Group::Code)
                codeEdited_ = false;
        }
        std::string fault = Check();
        if (fault.empty() && expectUnchanged_ && form_.CurrentColor() != before)
            fault = "cancelling changed the colour from " + Hex(before) + " to " +
                    Hex(form_.CurrentColor());
        if (fault.empty() && expectUnchanged_ && form_.WebOnly() != webOnlyBefore)
            fault = "cancelling changed web-only mode";
        // Only HSL, CMYK and L*a*b* edits are taken unsnapped in web-only mode; the web-smart
        // form of such a colour may be off the web-safe grid too.
        const bool offGrid = form_.WebOnly() && !IsWebSafe(form_.CurrentColor());
        const bool unsnapped =
            pushGroup_ == Group::HSL || pushGroup_ == Group::CMYK || pushGroup_ == Group::Lab;
        if (fault.empty() && offGrid && !(pushed && unsnapped) &&
            !(offGridAllowed_ && (!pushed || webSmart_)))
            fault = "web-only mode shows " + Hex(form_.CurrentColor()) + ", not web-safe";
        offGridAllowed_ = offGrid;
        return fault;
    }

private:
    template <typename T>
    T* Child(const char* name) {
        T* child = form_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <typename T, std::size_t N>
    const T& OneOf(const T (&items)[N]) {
        return items[Pick(static_cast<int>(N))];
    }

    static Group GroupOf(const QWidget* widget) {
        for (const EditorRow& row : kEditors)
            if (widget != nullptr && widget->objectName() == QLatin1String(row.name))
                return row.group;
        return Group::None;
    }

    // The group of an editor holding text it has not read yet: it reads it when the focus
    // leaves, so the colour may change then.
    Group PendingGroup() const {
        for (const QSpinBox* editor : editors_)
            if (form_.focusWidget() == editor && editor->text() != QString::number(editor->value()))
                return GroupOf(editor);
        return Group::None;
    }
    bool PendingEdit() const { return PendingGroup() != Group::None; }

    // Keys from here on go to the editor of this group.
    void StartTyping(Group group) {
        typingGroup_ = group;
        typingFrom_ = pushes_;
    }

    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            modal_ = nullptr;
            return;
        }
        if (modal != modal_) {
            modal_ = modal;
            ticks_ = 0;
            escape_ = ++modalCount_ % 2 == 0;
            modals_ += (modals_.empty() ? "" : ", ") + modal->windowTitle().toStdString();
        }
        // As a user would: once the window is in front.
        if (QApplication::activeWindow() != modal && ++ticks_ < 50)
            return;
        if (escape_) {
            escape_ = false;
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }

    // Types text key by key; QTest names keys for ASCII only, so other characters come as
    // text alone, as an input method sends them.
    static void TypeText(QWidget* target, const QString& text) {
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80)
                QTest::keyClick(target, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }

    // Where a key the user presses goes: the control with the focus.
    QWidget* KeyTarget() { return form_.focusWidget() ? form_.focusWidget() : &form_; }

    QSpinBox* RandomEditor() { return editors_[static_cast<std::size_t>(Pick(13))]; }

    std::string TypeEditor() {
        QSpinBox* editor = RandomEditor();
        QString text;
        const int kind = Pick(10);
        if (kind < 6)
            text = QString::number(Between(editor->minimum(), editor->maximum()));
        else if (kind < 8)
            text = QString::number(Chance(50) ? editor->minimum() - Between(1, 1000)
                                              : editor->maximum() + Between(1, 100000));
        else
            text = QString::fromUtf8(OneOf(kJunkNumbers));
        QLineEdit* line = editor->findChild<QLineEdit*>();
        line->setFocus();
        StartTyping(GroupOf(editor));
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Backspace);
        TypeText(line, text);
        std::string leave;
        if (Chance(30)) {
            QTest::keyClick(line, Qt::Key_Tab);
            leave = ", Tab";
        } else if (Chance(20)) {
            QTest::keyClick(line, Qt::Key_Return);
            leave = ", Enter";
        }
        return "type " + Quoted(text) + " into " + editor->objectName().toStdString() + leave;
    }

    std::string StepEditor() {
        QSpinBox* editor = RandomEditor();
        const bool focus = Chance(85);
        if (focus)
            editor->setFocus();
        StartTyping(GroupOf(editor));
        const std::string name = editor->objectName().toStdString();
        if (Chance(50)) {
            const int notches = Between(1, 3) * (Chance(50) ? 1 : -1);
            QWheelEvent wheel(QPointF(5, 5), editor->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(editor, &wheel);
            return "wheel " + std::to_string(notches) + " on " + (focus ? "" : "unfocused ") + name;
        }
        const NamedKey keys[] = {{Qt::Key_Up, "Up"},
                                 {Qt::Key_Down, "Down"},
                                 {Qt::Key_PageUp, "PageUp"},
                                 {Qt::Key_PageDown, "PageDown"}};
        const NamedKey& key = OneOf(keys);
        const int count = Between(1, 4);
        for (int i = 0; i < count; ++i)
            QTest::keyClick(editor, key.key);
        return std::to_string(count) + "x " + key.name + " on " + name;
    }

    QString RandomCode() {
        char text[96];
        const int r = Between(-20, 280), g = Between(-20, 280), b = Between(-20, 280);
        switch (Pick(12)) {
        case 0:
            return QString::fromStdString(Hex(static_cast<TColor>(Pick(0x1000000))));
        case 1:
            std::snprintf(text, sizeof text, "%03x", Pick(0x1000));
            break;
        case 2:
            std::snprintf(text, sizeof text, "rgb(%d %d %d)", r, g, b);
            break;
        case 3:
            std::snprintf(text, sizeof text, "rgb(%d, %d, %d)", r, g, b);
            break;
        case 4:
            std::snprintf(text, sizeof text, "hsl(%ddeg %d%% %d%%)", Between(-400, 800),
                          Between(-10, 110), Between(-10, 110));
            break;
        case 5:
            std::snprintf(text, sizeof text, "hwb(%d %d%% %d%%)", Between(0, 360), Between(0, 100),
                          Between(0, 100));
            break;
        case 6:
            std::snprintf(text, sizeof text, "lab(%d%% %d %d)", Between(-5, 110),
                          Between(-160, 160), Between(-160, 160));
            break;
        case 7:
            std::snprintf(text, sizeof text, "lch(%d%% %d %d)", Between(0, 100), Between(0, 230),
                          Between(0, 360));
            break;
        case 8:
            std::snprintf(text, sizeof text, "oklab(%.2f %.2f %.2f)", Between(0, 100) / 100.0,
                          Between(-50, 50) / 100.0, Between(-50, 50) / 100.0);
            break;
        case 9:
            std::snprintf(text, sizeof text, "oklch(%d%% %.2f %d)", Between(0, 100),
                          Between(0, 40) / 100.0, Between(0, 360));
            break;
        case 10:
            std::snprintf(text, sizeof text, "color(display-p3 %.2f %.2f %.2f)",
                          Between(-10, 110) / 100.0, Between(-10, 110) / 100.0,
                          Between(-10, 110) / 100.0);
            break;
        default:
            return Chance(10) ? QString(Between(1, 600), QLatin1Char('9'))
                              : QString::fromUtf8(OneOf(kFixedCodes));
        }
        return QString::fromLatin1(text);
    }

    std::string TypeCode() {
        if (notation_->count() > 1 && Chance(15)) {
            const int index = Pick(notation_->count());
            notation_->setCurrentIndex(index);
            return "notation " + notation_->currentText().toStdString();
        }
        const QString text = RandomCode();
        code_->setFocus();
        if (pushes_ > stepFrom_)
            codeEdited_ = false; // a pending edit read as the focus left rewrote the box
        StartTyping(Group::Code);
        code_->selectAll();
        const bool paste = Chance(30);
        if (paste) {
            code_->insert(text);
        } else {
            QTest::keyClick(code_, Qt::Key_Backspace);
            TypeText(code_, text);
        }
        codeEdited_ = true;
        std::string leave;
        if (Chance(30)) {
            QTest::keyClick(code_, Qt::Key_Tab);
            leave = ", Tab";
        }
        return std::string(paste ? "paste " : "type ") + Quoted(text) + " into the code box" +
               leave;
    }

    static void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QPoint PointIn(const QWidget* widget) {
        const int spill = Chance(10) ? 20 : 0;
        return {Between(-spill, widget->width() - 1 + spill),
                Between(-spill, widget->height() - 1 + spill)};
    }

    // The two pickers of the page on show.
    std::array<QWidget*, 2> PagePickers() {
        const QString page = pages_->currentWidget()->objectName();
        if (page == QLatin1String("tsHSL"))
            return {Child<QWidget>("SLPicker"), Child<QWidget>("HuePicker")};
        if (page == QLatin1String("tsHSV"))
            return {Child<QWidget>("HSVPicker"), Child<QWidget>("LightnessPicker")};
        auto* composite = Child<THSLColorPicker>("HSLPicker");
        return {composite->HSPicker(), composite->LPicker()};
    }

    std::string UsePicker() {
        QWidget* picker = PagePickers()[static_cast<std::size_t>(Pick(2))];
        const std::string name = picker->objectName().isEmpty()
                                     ? picker->metaObject()->className()
                                     : picker->objectName().toStdString();
        const int kind = Pick(10);
        if (kind < 6) {
            const QPoint from = PointIn(picker);
            SendMouse(picker, QEvent::MouseButtonPress, from, Qt::LeftButton);
            const int moves = kind < 3 ? 0 : Between(1, 6);
            QPoint at = from;
            for (int i = 0; i < moves; ++i) {
                at = PointIn(picker);
                SendMouse(picker, QEvent::MouseMove, at, Qt::LeftButton);
            }
            SendMouse(picker, QEvent::MouseButtonRelease, at, Qt::NoButton);
            return (moves == 0 ? "click " : "drag ") + name + " at " + std::to_string(from.x()) +
                   "," + std::to_string(from.y()) +
                   (moves == 0 ? ""
                               : " to " + std::to_string(at.x()) + "," + std::to_string(at.y()));
        }
        picker->setFocus();
        if (kind < 8) {
            const NamedKey keys[] = {{Qt::Key_Left, "Left"},     {Qt::Key_Right, "Right"},
                                     {Qt::Key_Up, "Up"},         {Qt::Key_Down, "Down"},
                                     {Qt::Key_PageUp, "PageUp"}, {Qt::Key_PageDown, "PageDown"},
                                     {Qt::Key_Home, "Home"},     {Qt::Key_End, "End"}};
            const NamedKey& key = OneOf(keys);
            const bool ctrl = Chance(30);
            QTest::keyClick(picker, key.key, ctrl ? Qt::ControlModifier : Qt::NoModifier);
            return std::string(ctrl ? "Ctrl+" : "") + key.name + " on " + name;
        }
        const int notches = Between(1, 3) * (Chance(50) ? 1 : -1);
        QWheelEvent wheel(QPointF(5, 5), picker->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(picker, &wheel);
        return "wheel " + std::to_string(notches) + " on " + name;
    }

    std::string SwitchPage() {
        const int page = Pick(4); // Ctrl+4 is the hidden palette page: nothing happens
        if (page < 3 && Chance(40)) {
            QTabBar* tabs = pages_->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(page).center());
            return "click tab " + std::to_string(page + 1);
        }
        QTest::keyClick(KeyTarget(), Qt::Key(Qt::Key_1 + page), Qt::ControlModifier);
        return "Ctrl+" + std::to_string(page + 1);
    }

    std::string ColourCommand() {
        const char* name = OneOf(kColorCommands);
        emit Child<QMenu>("ColorMenu")->aboutToShow();
        QAction* action = Child<QAction>(name);
        if (!action->isVisible())
            return std::string(name) + " (hidden)";
        webSmart_ = std::string_view(name) == "miWebSmart";
        action->trigger();
        return name;
    }

    std::string CopyCommand(std::string& fault) {
        auto* copy = Child<QMenu>("miCopy");
        emit copy->aboutToShow();
        std::vector<CopyMenuItem> expected =
            CopyMenuItems(form_.CurrentColor(), form_.EditorsShown());
        for (CopyMenuItem& item : CssCopyMenuItems(form_.CurrentColor()))
            expected.push_back(std::move(item));
        std::vector<QAction*> items;
        for (QAction* action : copy->actions())
            if (action->isVisible() && !action->isSeparator() && action->menu() == nullptr &&
                action->objectName() != QLatin1String("miCustomFormats"))
                items.push_back(action);
        if (items.empty())
            return "Copy (empty)";
        QAction* action = items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))];
        const std::string name = action->objectName().toStdString();
        QGuiApplication::clipboard()->clear();
        action->trigger();
        for (const CopyMenuItem& item : expected) {
            if (item.name != name)
                continue;
            if (action->text().toStdString() != item.caption)
                fault = "Copy item " + name + " shows \"" + action->text().toStdString() +
                        "\", not \"" + item.caption + "\"";
            else if (QGuiApplication::clipboard()->text().toStdString() !=
                     CopyTextOfCaption(item.caption))
                fault = "Copy item " + name + " copied \"" +
                        QGuiApplication::clipboard()->text().toStdString() + "\"";
        }
        return "Copy " + name;
    }

    std::string DialogCommand() {
        const bool pending = PendingEdit();
        if (Chance(10)) {
            // "From image..." with a picture already open, as a drop or a command line opens it.
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(picture_)});
            Drop(data);
            expectUnchanged_ = !pending;
            return "drop a picture";
        }
        const char* name = OneOf(kDialogCommands);
        auto* action = form_.findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr)
            return std::string(name) + " (not in this build)";
        expectUnchanged_ = !pending;
        action->trigger();
        return std::string(name) + " and cancel";
    }

    void Drop(QMimeData& data) {
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&form_, &enter);
        if (!enter.isAccepted())
            return;
        QDropEvent dropped(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(&form_, &dropped);
        // The window takes a drop after the drag has finished.
        QApplication::processEvents();
    }

    std::string DropColour() {
        QMimeData data;
        const QString text =
            Chance(30) ? RandomCode() : QString::fromStdString(Hex(Pick(0x1000000)));
        data.setText(text);
        Drop(data);
        return "drop text " + Quoted(text);
    }

    std::string FavouritesCommand(std::string& fault) {
        const int kind = Pick(3);
        if (kind == 0) {
            emit Child<QMenu>("ColorMenu")->aboutToShow();
            QAction* add = Child<QAction>("miAddToFavourites");
            if (!add->isVisible())
                return "add to favourites (hidden: already one)";
            add->trigger();
            if (!IsFavourite(favourites_->Colors(), form_.CurrentColor()))
                fault = "the added colour is not among the favourites";
            return "add to favourites";
        }
        if (kind == 1) {
            Child<QAction>("miFromFavourites")->trigger();
            return "From favourites";
        }
        const int cell = Pick(static_cast<int>(favourites_->Colors().size()));
        QTest::mouseClick(favourites_, Qt::LeftButton, Qt::NoModifier,
                          favourites_->CellRect(cell).center());
        return "click favourite " + std::to_string(cell);
    }

    std::string WebOnly(std::string& fault) {
        const bool was = form_.WebOnly();
        const TColor before = form_.CurrentColor();
        const bool pending = PendingEdit();
        std::string how;
        switch (Pick(3)) {
        case 0:
            Child<QAction>("aWebSafe")->trigger();
            how = "trigger aWebSafe";
            break;
        case 1:
            QTest::keyClick(KeyTarget(), Qt::Key_W, Qt::ControlModifier);
            how = "Ctrl+W";
            break;
        default:
            QTest::mouseClick(webSafe_, Qt::LeftButton, Qt::NoModifier,
                              QPoint(6, webSafe_->height() / 2));
            how = "click cbWebSafe";
        }
        if (form_.WebOnly() == was)
            fault = "web-only mode did not change";
        else if (webSafe_->isChecked() != form_.WebOnly())
            fault = "the web-only check box and the command disagree";
        else if (!pending && form_.CurrentColor() != SnapColor(before, WebSafeStep))
            fault = "toggling took " + Hex(form_.CurrentColor()) + ", not the web-safe form of " +
                    Hex(before);
        return how + (form_.WebOnly() ? " (on)" : " (off)");
    }

    std::string WebButton() {
        const bool smart = Chance(50);
        auto* button = Child<QToolButton>(smart ? "btnWebSmart" : "btnWebSafe");
        webSmart_ = smart;
        const bool enabled = button->isEnabled();
        QTest::mouseClick(button, Qt::LeftButton);
        return std::string("click ") + (smart ? "btnWebSmart" : "btnWebSafe") +
               (enabled ? "" : " (disabled)");
    }

    std::string RunAction() {
        std::string fault;
        std::string description;
        const int roll = Pick(100);
        if (roll < 20)
            description = TypeEditor();
        else if (roll < 30)
            description = StepEditor();
        else if (roll < 42)
            description = TypeCode();
        else if (roll < 60)
            description = UsePicker();
        else if (roll < 66)
            description = SwitchPage();
        else if (roll < 76)
            description = ColourCommand();
        else if (roll < 80)
            description = CopyCommand(fault);
        else if (roll < 84)
            description = DialogCommand();
        else if (roll < 86)
            description = DropColour();
        else if (roll < 92)
            description = FavouritesCommand(fault);
        else if (roll < 95)
            description = WebOnly(fault);
        else
            description = WebButton();
        actionFault_ = fault;
        return description;
    }

    // The numbers a group's editors show, and whether they make the current colour: the group
    // typed into keeps what was typed, which must still give the colour.
    std::vector<int> Shown(Group group, const EditorValues& e) const {
        switch (group) {
        case Group::RGB:
            return {e.r, e.g, e.b};
        case Group::HSL:
            return {e.h, e.s, e.l};
        case Group::CMYK:
            return {e.c, e.m, e.y, e.k};
        case Group::Lab:
            return {e.cieL, e.cieA, e.cieB};
        default:
            return {};
        }
    }
    TColor ColourOfTyped(Group group, const EditorValues& e) const {
        switch (group) {
        case Group::RGB: {
            const TColor typed = MakeRGB(ClampByte(e.r), ClampByte(e.g), ClampByte(e.b));
            return form_.WebOnly() ? SnapColor(typed, WebSafeStep) : typed;
        }
        case Group::HSL:
            return MakeRGB(HSLToRGB(e.h, e.s, e.l));
        case Group::CMYK:
            return MakeRGB(CMYKToRGB(e.c / 100.0, e.m / 100.0, e.y / 100.0, e.k / 100.0));
        case Group::Lab:
            return LabToRGB(e.cieL, e.cieA, e.cieB);
        default:
            return clNone;
        }
    }

    std::string Check() {
        if (!actionFault_.empty())
            return actionFault_;
        if (QApplication::activeModalWidget() != nullptr)
            return "a modal window is still open";
        if (!form_.isVisible())
            return "the window closed";
        const TColor color = form_.CurrentColor();
        auto swatch = [this](const char* name) { return Child<TmbColorPreview>(name)->Color(); };
        if (swatch("AlphaSwatch") != color)
            return "the alpha swatch shows " + Hex(swatch("AlphaSwatch"));
        if (swatch("SwatchSafe") != SnapColor(color, WebSafeStep))
            return "the web-safe swatch shows " + Hex(swatch("SwatchSafe"));
        if (swatch("SwatchSmart") != SnapColor(color, WebSmartStep))
            return "the web-smart swatch shows " + Hex(swatch("SwatchSmart"));
        if (Child<QToolButton>("btnWebSafe")->isEnabled() == IsWebSafe(color))
            return "btnWebSafe is enabled for a web-safe colour, or the other way round";
        if (Child<QToolButton>("btnWebSmart")->isEnabled() == IsWebSmart(color))
            return "btnWebSmart is enabled for a web-smart colour, or the other way round";

        const EditorValues shown = form_.EditorsShown();
        const EditorValues wanted = EditorValuesOf(color);
        for (const Group group : {Group::RGB, Group::HSL, Group::CMYK, Group::Lab}) {
            if (Shown(group, shown) == Shown(group, wanted))
                continue;
            if (group != pushGroup_ || ColourOfTyped(group, shown) != color)
                return "the " + GroupName(group) + " editors show " + Values(Shown(group, shown)) +
                       " for " + Hex(color) + ", not " + Values(Shown(group, wanted));
        }
        for (const QSpinBox* editor : editors_)
            if (form_.focusWidget() != editor && editor->text() != QString::number(editor->value()))
                return editor->objectName().toStdString() + " shows \"" +
                       editor->text().toStdString() + "\" for the value " +
                       std::to_string(editor->value());

        const std::string text = code_->text().toStdString();
        const std::string want = CodeBoxText(color, notation_->currentIndex());
        if (text != want) {
            TColor typed = CodeBoxInputToColor(text);
            if (typed != clNone && form_.WebOnly())
                typed = SnapColor(typed, WebSafeStep);
            // Typed text stays, also after the focus leaves, and names the colour when it names
            // any: text naming no colour changes nothing. In web-only mode leaving the box
            // rewrites it in the notation's own text.
            const bool left = form_.focusWidget() != code_;
            if (!codeEdited_ || (typed != clNone && typed != color) || (left && form_.WebOnly()))
                return "the code box shows " + Quoted(code_->text()) + " for " + Hex(color) +
                       ", not \"" + want + "\"";
        }
        return {};
    }

    static std::string GroupName(Group group) {
        switch (group) {
        case Group::RGB:
            return "RGB";
        case Group::HSL:
            return "HSL";
        case Group::CMYK:
            return "CMYK";
        default:
            return "L*a*b*";
        }
    }
    static std::string Values(const std::vector<int>& values) {
        std::string text;
        for (int v : values)
            text += (text.empty() ? "" : " ") + std::to_string(v);
        return text;
    }

    TMainForm& form_;
    std::mt19937 random_;
    QString picture_;
    std::vector<QSpinBox*> editors_;
    QLineEdit* code_ = nullptr;
    QComboBox* notation_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QCheckBox* webSafe_ = nullptr;
    TmbColorPalette* favourites_ = nullptr;
    QTimer closer_;
    QPointer<QWidget> modal_;
    bool escape_ = false;
    int ticks_ = 0;
    int modalCount_ = 0;
    std::string modals_;
    std::string actionFault_;
    int pushes_ = 0;
    int stepFrom_ = 0;
    int typingFrom_ = -1;
    Group typingGroup_ = Group::None;
    Group pushGroup_ = Group::None;
    bool codeEdited_ = false;
    bool offGridAllowed_ = false;
    bool expectUnchanged_ = false;
    bool webSmart_ = false;
};

TEST(UiSoakTest, EveryViewShowsTheCurrentColourThroughoutARandomWalk) {
    const unsigned seed = static_cast<unsigned>(EnvInt("CHROMINT_SOAK_SEED", 20240611));
    const int count = EnvInt("CHROMINT_SOAK_ACTIONS", 2000);
    std::printf("soak: seed %u, %d actions\n", seed, count);

    // A dialog of Qt's own on every desktop, so the walk can cancel it.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    testing::TempConfigHome configHome;
    QTemporaryDir files;
    const QString picture = files.filePath(QStringLiteral("soak.png"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(0x12, 0x9A, 0xFE));
    ASSERT_TRUE(image.save(picture));

    auto form = std::make_unique<TMainForm>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // The window's own random colours, the first one too, repeat with the walk.
    GlobalRandom().Seed(seed);
    form->GetAll(RandomRGB(), false);

    QElapsedTimer clock;
    clock.start();
    {
        UiSoak soak(*form, seed, picture);
        std::deque<std::string> recent;
        for (int step = 1; step <= count; ++step) {
            std::string description;
            const std::string fault = soak.Step(description);
            recent.push_back(std::to_string(step) + ": " + description + " -> " +
                             Hex(form->CurrentColor()));
            if (recent.size() > 20)
                recent.pop_front();
            if (!fault.empty()) {
                std::string log;
                for (const std::string& line : recent)
                    log += "  " + line + "\n";
                FAIL() << "seed " << seed << ", action " << step << " (" << description
                       << "): " << fault << "\nreplay: CHROMINT_SOAK_SEED=" << seed
                       << " CHROMINT_SOAK_ACTIONS=" << step << "\nlast actions:\n"
                       << log;
            }
        }
    }
    std::printf("soak: %d actions in %.1f s\n", count, clock.elapsed() / 1000.0);
    form->close();
    form.reset();
}

} // namespace
} // namespace chromint
