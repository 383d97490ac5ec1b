#include "ScreenColorDlg.h"

#include "IdleTimer.h"
#include "JvZoom.h"
#include "ScreenAccess.h"
#include "mbColorPreview.h"

#include <QDoubleSpinBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace chromint {

TColor ScreenPixelColor(QPoint point) {
    const auto rgb = Screen().PixelAt(point);
    if (!rgb)
        return clNone;
    return ColorFromHex(*rgb);
}

std::optional<TColor> PixelUnderPointer() {
    const auto pointer = Screen().PointerPos();
    if (!pointer)
        return std::nullopt;
    const TColor color = ScreenPixelColor(*pointer);
    if (color == clNone)
        return std::nullopt;
    return color;
}

int ZoomPercentageForValue(double value) {
    return int(std::nearbyint(value * 100)); // the default rounding mode: halves to even
}

QString ColorValuesText(TColor color) {
    return QStringLiteral("R: %1   G: %2   B: %3")
        .arg(GetRValue(color))
        .arg(GetGValue(color))
        .arg(GetBValue(color));
}

namespace {

// The face's fixed parts; only the read-out line's width and height follow the font.
constexpr QSize kPanelMinimum(193, 133);
constexpr int kMargin = 8;
constexpr int kReadOutTop = 115;
constexpr int kReadOutGap = 8;
constexpr int kSideColumnWidth = 69;

// The text with every digit replaced by the font's widest one, so that measuring it covers
// every value of the same form.
QString WithWidestDigits(QString text, const QFontMetrics& metrics) {
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
            widest = QChar(digit);
    }
    for (QChar& c : text) {
        if (c.isDigit())
            c = widest;
    }
    return text;
}

// The width the label needs to show any text of the form of text in full.
int LabelWidthFor(const QLabel& label, const QString& text) {
    const QFontMetrics metrics = label.fontMetrics();
    const QString widest = WithWidestDigits(text, metrics);
    const QMargins margins = label.contentsMargins();
    return std::max(metrics.horizontalAdvance(widest), metrics.boundingRect(widest).width()) +
           margins.left() + margins.right() + 2 * label.margin();
}

} // namespace

TScreenColorPanel::TScreenColorPanel(double zoom, ScreenAccess& source, QWidget* parent)
    : QWidget(parent), source_(source) {
    setObjectName(QStringLiteral("ScreenColorPanel"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 102, 102);
    zoom_ = new TJvZoom(panel);
    zoom_->setGeometry(1, 1, 100, 100);
    if (&source != &Screen())
        zoom_->SetSource(&source);
    zoom_->SetZoomLevel(50);
    zoom_->SetCrosshair(true);
    zoom_->SetCrosshairSize(30);
    connect(zoom_, &TJvZoom::ContentsChanged, this, &TScreenColorPanel::ZoomContentsChanged);

    desktopSwatch_ = new TmbColorPreview(this);
    desktopSwatch_->setObjectName(QStringLiteral("DesktopSwatch"));
    desktopSwatch_->resize(kSideColumnWidth, 69);
    desktopSwatch_->setToolTip(QStringLiteral("Base color"));
    desktopSwatch_->SetBlockSize(4);

    edtZoom_ = new QDoubleSpinBox(this);
    edtZoom_->setObjectName(QStringLiteral("edtZoom"));
    edtZoom_->resize(kSideColumnWidth, 27);
    edtZoom_->setDecimals(1);
    edtZoom_->setSuffix(QStringLiteral("x"));
    edtZoom_->setRange(1.0, 10.0);
    edtZoom_->setSingleStep(0.1);
    edtZoom_->setValue(1.0);

    lblPosition_ = new QLabel(QStringLiteral("0x0"), this);
    lblPosition_->setObjectName(QStringLiteral("lblPosition"));
    lblColor_ = new QLabel(ColorValuesText(MakeRGB(255, 255, 255)), this);
    lblColor_->setObjectName(QStringLiteral("lblColor"));
    lblColor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LayOut();

    edtZoom_->setValue(zoom);
    zoom_->SetZoomPercentage(ZoomPercentageForValue(edtZoom_->value()));
    connect(edtZoom_, &QDoubleSpinBox::valueChanged, this, &TScreenColorPanel::edtZoomChange);
}

void TScreenColorPanel::LayOut() {
    if (lblColor_ == nullptr)
        return; // a font change before the controls exist
    const int positionWidth = LabelWidthFor(*lblPosition_, QStringLiteral("9999x9999"));
    const int colorWidth = LabelWidthFor(*lblColor_, ColorValuesText(MakeRGB(255, 255, 255)));
    const int lineHeight =
        std::max(lblPosition_->fontMetrics().height(), lblColor_->fontMetrics().height());
    const QSize size(std::max(kPanelMinimum.width(),
                              kMargin + positionWidth + kReadOutGap + colorWidth + kMargin),
                     std::max(kPanelMinimum.height(), kReadOutTop + lineHeight + 1));
    setFixedSize(size);
    // The swatch and the zoom factor keep their place at the right edge.
    const int sideLeft = size.width() - kMargin - kSideColumnWidth;
    desktopSwatch_->move(sideLeft, 8);
    edtZoom_->move(sideLeft, 83);
    lblPosition_->setGeometry(kMargin, kReadOutTop, positionWidth, lineHeight);
    lblColor_->setGeometry(size.width() - kMargin - colorWidth, kReadOutTop, colorWidth,
                           lineHeight);
}

void TScreenColorPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        LayOut();
}

TColor TScreenColorPanel::Color() const {
    return desktopSwatch_->Color();
}

void TScreenColorPanel::ZoomContentsChanged() {
    const QPoint point = zoom_->LastPoint();
    lblPosition_->setText(QStringLiteral("%1x%2").arg(point.x()).arg(point.y()));
    const auto rgb = source_.PixelAt(point);
    desktopSwatch_->SetColor(rgb ? ColorFromHex(*rgb) : clNone);
    lblColor_->setText(ColorValuesText(desktopSwatch_->Color()));
}

void TScreenColorPanel::edtZoomChange(double value) {
    zoom_->SetZoomPercentage(ZoomPercentageForValue(value));
}

TScreenColorDialog::TScreenColorDialog(double zoom, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ScreenColorDialog"));
    setWindowTitle(QStringLiteral("Screen color"));
    panel_ = new TScreenColorPanel(1.0, Screen(), this);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("lblHint"));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);

    // Start-up, in the order the window needs: fixer, confirm key, idle timer, caption.
    fixer_ = std::make_unique<TStayOnTopFixer>(this);
    hotKeys_ = new THotKeyManager(this);
    hotKeys_->setObjectName(QStringLiteral("HotKeyManager"));
    const THotKey confirm = ParseHotKeyText(QString::fromLatin1(ConfirmHotKeyText), true);
    // A combination another program holds leaves only cancel.
    const bool confirmHeld = confirm != 0 && hotKeys_->AddHotKey(confirm) != 0;
    // Esc is taken from the other programs only while the window is shown.
    cancelHotKey_ = ParseHotKeyText(QString::fromLatin1(CancelHotKeyText), true);
    connect(hotKeys_, &THotKeyManager::HotKeyPressed, this, [this](quint32 hotKey, quint16) {
        if (hotKey == cancelHotKey_)
            reject();
        else
            accept();
    });
    idleTimer_ = std::make_unique<TIdleTimer>(100);
    connect(idleTimer_.get(), &TIdleTimer::OnIdle, this, &TScreenColorDialog::IdleChanged);
    const QString confirmText =
        FormatHotKeyText(confirm != 0 ? confirm : HotKeyCtrl | HotKeyShift | 'X', false);
    setWindowTitle(QStringLiteral("%1 - %2").arg(windowTitle(), confirmText));
    const QString take = confirmHeld
                             ? QStringLiteral("%1 takes the colour").arg(confirmText)
                             : QStringLiteral("%1 is held by another program").arg(confirmText);
    hintParts_ = {take, QStringLiteral("%1 cancels").arg(FormatHotKeyText(cancelHotKey_, false))};
    // "take · cancel"; where the line is too long it breaks after the dot only.
    QString hint = hintParts_[0] + QStringLiteral(" ·");
    hint.replace(u' ', QChar::Nbsp);
    hint_->setText(hint + u' ' + QString(hintParts_[1]).replace(u' ', QChar::Nbsp));
    LayOut();

    // Placed by the outer size known now; placed again once the window manager has framed it.
    PlaceInCorner();
    panel_->findChild<QDoubleSpinBox*>(QStringLiteral("edtZoom"))->setValue(zoom);
}

void TScreenColorDialog::LayOut() {
    if (hint_ == nullptr || hintParts_.isEmpty())
        return; // a font change before the controls exist
    // As wide as the panel, or as the longer part of the hint where that is wider.
    const QFontMetrics metrics = hint_->fontMetrics();
    int partWidth = 0;
    for (const QString& part : hintParts_)
        partWidth = std::max(partWidth, metrics.horizontalAdvance(part + QStringLiteral(" ·")));
    const int width = std::max(panel_->width(), partWidth + 2 * kMargin);
    const int hintWidth = width - 2 * kMargin;
    const int hintHeight = hint_->heightForWidth(hintWidth);
    panel_->move((width - panel_->width()) / 2, 0);
    hint_->setGeometry(kMargin, panel_->height(), hintWidth, hintHeight);
    setFixedSize(width, panel_->height() + hintHeight + kMargin);
}

void TScreenColorDialog::PlaceInCorner() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + area.width() - outer.width() - CornerDistance,
         area.y() + area.height() - outer.height() - CornerDistance);
}

TScreenColorDialog::~TScreenColorDialog() = default;

bool TScreenColorDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TScreenColorDialog::Color() const {
    return panel_->Color();
}

void TScreenColorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fixer_->SetStayOnTop(true);
    raise();
    if (cancelIndex_ == 0 && cancelHotKey_ != 0)
        cancelIndex_ = hotKeys_->AddHotKey(cancelHotKey_); // held elsewhere: Esc works here only
    // The frame is known once the window manager has framed the window, by its first exposure.
    if (QWindow* window = windowHandle(); window != nullptr && !placedByFrame_)
        window->installEventFilter(this);
}

void TScreenColorDialog::hideEvent(QHideEvent* event) {
    if (cancelIndex_ != 0) {
        hotKeys_->RemoveHotKeyByIndex(cancelIndex_);
        cancelIndex_ = 0;
    }
    QDialog::hideEvent(event);
}

bool TScreenColorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() &&
        windowHandle()->isExposed() && !placedByFrame_) {
        placedByFrame_ = true;
        watched->removeEventFilter(this);
        PlaceInCorner();
    }
    return QDialog::eventFilter(watched, event);
}

void TScreenColorDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        LayOut();
}

void TScreenColorDialog::IdleChanged(quint32 idleTime) {
    Zoom()->setEnabled(idleTime < quint32(IdleFreezeMs));
}

void TScreenColorDialog::ZoomContentsChanged() {
    panel_->ZoomContentsChanged();
}

std::uint16_t InstallMainWindowHotKey(THotKeyManager& manager,
                                      std::function<void(TColor)> applyColor,
                                      std::function<void()> pickInstead) {
    QObject::connect(&manager, &THotKeyManager::HotKeyPressed, &manager,
                     [applyColor = std::move(applyColor),
                      pickInstead = std::move(pickInstead)](quint32 hotKey, quint16) {
                         if (hotKey !=
                             ParseHotKeyText(QString::fromLatin1(MainWindowHotKeyText), true))
                             return;
                         if (!Screen().Available()) {
                             if (pickInstead)
                                 pickInstead();
                             return;
                         }
                         if (const std::optional<TColor> color = PixelUnderPointer())
                             applyColor(*color);
                     });
    return RegisterMainWindowHotKey(manager);
}

QString PickCommandKeyAdvice() {
    return QStringLiteral("Alt+X cannot pick colours here: this desktop gives programs no "
                          "global keys. To pick with a key, bind the command "
                          "\"chromint --pick\" to one in the desktop's keyboard settings.");
}

ScreenPick PickFromStillFrame(double zoom) {
    ScreenPick pick;
    const ScreenCapture::Picture picture = DesktopCapture().Capture();
    if (picture.status != ScreenCapture::Status::Done) {
        pick.status = picture.status;
        pick.message = ScreenCaptureMessage(picture.status, picture.message);
        return pick;
    }
    if (const std::optional<TColor> color = RunFrozenFramePicker(picture, zoom)) {
        pick.status = ScreenCapture::Status::Done;
        pick.color = *color;
    } else {
        pick.status = ScreenCapture::Status::Cancelled;
    }
    return pick;
}

namespace {

// Puts the main window back and its hot key too, however the command ends.
struct MainWindowRestorer {
    const ScreenColorCommandHooks& hooks;
    std::unique_ptr<TScreenColorDialog>& dialog;

    ~MainWindowRestorer() {
        if (hooks.mainWindow != nullptr) {
            hooks.mainWindow->showNormal();
            hooks.mainWindow->raise();
            hooks.mainWindow->activateWindow();
        }
        dialog.reset();
        if (hooks.hotKeys != nullptr)
            RegisterMainWindowHotKey(*hooks.hotKeys);
    }
};

} // namespace

bool RunScreenColorCommand(const ScreenColorCommandHooks& hooks) {
    if (hooks.hotKeys != nullptr)
        hooks.hotKeys->ClearHotKeys(); // so Alt+X is free while the picker runs
    std::unique_ptr<TScreenColorDialog> dialog;
    const MainWindowRestorer restorer{hooks, dialog};
    if (!Screen().Available() || hooks.pickStill) {
        const ScreenPick pick = hooks.pickStill ? hooks.pickStill() : PickFromStillFrame(8.0);
        if (pick.status != ScreenCapture::Status::Done) {
            if (pick.status != ScreenCapture::Status::Cancelled && hooks.showMessage)
                hooks.showMessage(pick.message);
            return false;
        }
        const std::optional<TColor> confirmed =
            hooks.confirmColor ? hooks.confirmColor(pick.color) : std::optional(pick.color);
        if (!confirmed)
            return false;
        if (hooks.applyColor)
            hooks.applyColor(*confirmed);
        return true;
    }
    dialog = std::make_unique<TScreenColorDialog>(8.0);
    if (hooks.mainWindow != nullptr)
        hooks.mainWindow->showMinimized();
    const bool picked = hooks.execute ? hooks.execute(*dialog) : dialog->Execute();
    if (!picked)
        return false;
    const TColor color = dialog->Color();
    if (color == clNone)
        return false; // nothing could be read from the screen
    const std::optional<TColor> confirmed =
        hooks.confirmColor ? hooks.confirmColor(color) : std::optional<TColor>(color);
    if (!confirmed)
        return false;
    if (hooks.applyColor)
        hooks.applyColor(*confirmed);
    return true;
}

} // namespace chromint
