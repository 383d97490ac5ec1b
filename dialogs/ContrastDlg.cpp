#include "ContrastDlg.h"

#include "ColorNotations.h"
#include "ColorPreviewLayout.h"
#include "CssColor.h"
#include "FrozenFramePicker.h"
#include "mbColorPreview.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace chromint {

namespace {

struct SampleLine {
    double px; // CSS pixels: 0.75 pt each
    bool bold;
    const char* text;
};
constexpr SampleLine kSampleLines[] = {
    {12, false, "12 px: The quick brown fox jumps over the lazy dog"},
    {16, false, "16 px: The quick brown fox jumps"},
    {18.66, true, "18.66 px bold: The quick brown fox"},
    {24, false, "24 px: The quick brown fox"},
};
constexpr int kSampleMargin = 8;
constexpr int kSampleSpacing = 4;

QFont SampleFont(const QFont& base, const SampleLine& line) {
    QFont font = base;
    font.setPointSizeF(line.px * 0.75);
    font.setBold(line.bold);
    return font;
}

QString Hex(TColor color) {
    return QString::fromStdString(ColorToText(color, NotationHTML));
}

QIcon SwatchIcon(TColor color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

TmbColorPreview* Swatch(QWidget* parent, const char* name) {
    auto* swatch = new TmbColorPreview(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(44, 24);
    swatch->SetSwatchStyle(true);
    swatch->SetBlockSize(4);
    return swatch;
}

QLabel* Label(QWidget* parent, const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name != nullptr)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

// Labels whose text changes keep the width of their longest text, so the dialog never
// jumps or cuts one off.
void ReserveWidth(QLabel* label, const QStringList& texts) {
    const QFontMetrics metrics(label->font());
    int width = 0;
    for (const QString& text : texts)
        width = std::max(width, metrics.horizontalAdvance(text));
    label->setMinimumWidth(width + 2);
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

constexpr char kAlreadyPasses[] = "The current colour already passes.";
constexpr char kNoneReaches[] = "No colour reaches this level against the other colour.";
constexpr char kNotCss[] = "Not a CSS colour: try #1e90ff, rgb(30 144 255) or oklch(65% 0.15 250).";
constexpr char kAlphaIgnored[] = "Transparency left out: the colour counts as opaque.";

} // namespace

std::vector<TColor> FavouriteColors(const QStringList& favourites) {
    std::vector<TColor> colors;
    colors.reserve(static_cast<std::size_t>(favourites.size()));
    for (const QString& text : favourites) {
        const TColor color = TextToColor(text.trimmed().toStdString(), NotationDelphi);
        if (color != clNone)
            colors.push_back(color);
    }
    return colors;
}

QString PassText(bool passes) {
    return passes ? QStringLiteral("\u2713 Pass") : QStringLiteral("\u2717 Fail");
}

OtherColorText ReadOtherColorText(const QString& text) {
    const std::optional<CssColor> css = ParseCssColor(text.toStdString());
    if (!css)
        return {std::nullopt, QString::fromLatin1(kNotCss)};
    return {ColorOfCss(*css), css->alpha < 1 ? QString::fromLatin1(kAlphaIgnored) : QString()};
}

NearestState DescribeNearest(TColor current, TColor other, ContrastRole role,
                             const ContrastTarget& target) {
    current &= 0xFFFFFF;
    const std::optional<TColor> nearest = NearestPassingColor(current, other, role, target);
    if (!nearest)
        return {std::nullopt, QString::fromLatin1(kNoneReaches), false};
    if (*nearest == current)
        return {current, QString::fromLatin1(kAlreadyPasses), false};
    const TColor text = role == ContrastRole::Text ? *nearest : other;
    const TColor background = role == ContrastRole::Text ? other : *nearest;
    const std::string reached = target.metric == ContrastMetric::Wcag
                                    ? FormatContrastRatio(ContrastRatio(text, background))
                                    : "Lc " + FormatLc(ApcaContrast(text, background));
    return {nearest, QStringLiteral("Reaches %1.").arg(QString::fromStdString(reached)), true};
}

// ---- TContrastSample ------------------------------------------------------------------------

TContrastSample::TContrastSample(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TContrastSample::SetColors(TColor text, TColor background) {
    if (text == text_ && background == background_)
        return;
    text_ = text;
    background_ = background;
    update();
}

QSize TContrastSample::sizeHint() const {
    int width = 0;
    int height = 2 * kSampleMargin - kSampleSpacing;
    for (const SampleLine& line : kSampleLines) {
        const QFontMetrics metrics(SampleFont(font(), line));
        width = std::max(width, metrics.horizontalAdvance(QString::fromLatin1(line.text)));
        height += metrics.height() + kSampleSpacing;
    }
    return {width + 2 * kSampleMargin, height};
}

void TContrastSample::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(background_));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(text_));
    int y = kSampleMargin;
    for (const SampleLine& line : kSampleLines) {
        const QFont font = SampleFont(this->font(), line);
        const QFontMetrics metrics(font);
        painter.setFont(font);
        painter.drawText(kSampleMargin, y + metrics.ascent(), QString::fromLatin1(line.text));
        y += metrics.height() + kSampleSpacing;
    }
}

// ---- TContrastDialog ------------------------------------------------------------------------

TContrastDialog::TContrastDialog(TColor current, const QStringList& favourites, QWidget* parent)
    : QDialog(parent), current_(ResolveSystemColor(current) & 0xFFFFFF) {
    setObjectName(QStringLiteral("ContrastDialog"));
    setWindowTitle(QStringLiteral("Contrast"));
    auto* layout = new QVBoxLayout(this);

    // The pair.
    auto* pair = new QGridLayout;
    layout->addLayout(pair);
    pair->addWidget(Label(this, QStringLiteral("Current colour:")), 0, 0);
    CurrentSwatch = Swatch(this, "CurrentSwatch");
    pair->addWidget(CurrentSwatch, 0, 1);
    lblCurrentHex = Label(this, QString(), "lblCurrentHex");
    lblCurrentHex->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pair->addWidget(lblCurrentHex, 0, 2, 1, 3);

    auto* lblOther = Label(this, QStringLiteral("Second &colour:"), "lblOther");
    pair->addWidget(lblOther, 1, 0);
    btnOtherSwatch = Button(this, QString(), "btnOtherSwatch");
    btnOtherSwatch->setIconSize(QSize(32, 16));
    btnOtherSwatch->setToolTip(QStringLiteral("Choose the second colour"));
    btnOtherSwatch->setAccessibleName(QStringLiteral("Choose the second colour"));
    pair->addWidget(btnOtherSwatch, 1, 1);
    edtOther = new QLineEdit(this);
    edtOther->setObjectName(QStringLiteral("edtOther"));
    edtOther->setToolTip(QStringLiteral("Any CSS colour: #hex, a name, rgb(), hsl(), hwb(), "
                                        "lab(), lch(), oklab(), oklch() or color()"));
    edtOther->setMinimumWidth(
        edtOther->fontMetrics().horizontalAdvance(QStringLiteral("oklch(62.8% 0.2577 29.23)")));
    lblOther->setBuddy(edtOther);
    pair->addWidget(edtOther, 1, 2);
    btnPick = Button(this, QStringLiteral("&Pick from screen"), "btnPick");
    pair->addWidget(btnPick, 1, 3);
    btnFavourites = Button(this, QStringLiteral("&Favourites"), "btnFavourites");
    auto* favouritesMenu = new QMenu(btnFavourites);
    favouritesMenu->setObjectName(QStringLiteral("FavouritesMenu"));
    for (const TColor color : FavouriteColors(favourites)) {
        QAction* action = favouritesMenu->addAction(SwatchIcon(color, QSize(16, 16)), Hex(color));
        connect(action, &QAction::triggered, this, [this, color] { SetOtherColor(color); });
    }
    btnFavourites->setEnabled(!favouritesMenu->isEmpty());
    btnFavourites->setMenu(favouritesMenu);
    pair->addWidget(btnFavourites, 1, 4);
    lblOtherMessage = Label(this, QString(), "lblOtherMessage");
    ReserveWidth(lblOtherMessage,
                 {QString::fromLatin1(kNotCss), QString::fromLatin1(kAlphaIgnored)});
    lblOtherMessage->setMinimumHeight(lblOtherMessage->fontMetrics().height());
    pair->addWidget(lblOtherMessage, 2, 2, 1, 3);

    lblRoles = Label(this, QString(), "lblRoles");
    pair->addWidget(lblRoles, 3, 0, 1, 4);
    btnSwap = Button(this, QStringLiteral("&Swap"), "btnSwap");
    btnSwap->setToolTip(QStringLiteral("Exchange text and background"));
    pair->addWidget(btnSwap, 3, 4);
    pair->setColumnStretch(2, 1);

    // The measures, beside the sample.
    auto* results = new QHBoxLayout;
    layout->addLayout(results);
    auto* measures = new QVBoxLayout;
    results->addLayout(measures);

    auto* wcag = new QGroupBox(QStringLiteral("WCAG 2.2"), this);
    wcag->setObjectName(QStringLiteral("WcagGroup"));
    auto* wcagGrid = new QGridLayout(wcag);
    wcagGrid->addWidget(Label(wcag, QStringLiteral("Contrast ratio:")), 0, 0);
    lblRatio = Label(wcag, QString(), "lblRatio");
    QFont big = lblRatio->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    lblRatio->setFont(big);
    ReserveWidth(lblRatio, {QStringLiteral("21.00:1")});
    lblRatio->setToolTip(QStringLiteral("Shown to two decimals; pass and fail use the exact "
                                        "ratio, so 4.499:1 fails 4.5:1."));
    wcagGrid->addWidget(lblRatio, 0, 1, 1, 2);
    for (const WcagCriterion& criterion : WcagCriteria()) {
        const int i = static_cast<int>(criterion.level);
        wcagGrid->addWidget(
            Label(wcag, QString::fromUtf8(criterion.name.data(), qsizetype(criterion.name.size()))),
            i + 1, 0);
        wcagGrid->addWidget(Label(wcag, QString::number(criterion.minimum) + QStringLiteral(":1")),
                            i + 1, 1);
        lblWcag[i] = Label(wcag, QString(), qPrintable(QStringLiteral("lblWcag%1").arg(i)));
        ReserveWidth(lblWcag[i], {PassText(true), PassText(false)});
        wcagGrid->addWidget(lblWcag[i], i + 1, 2);
    }
    measures->addWidget(wcag);

    auto* apca = new QGroupBox(QStringLiteral("APCA"), this);
    apca->setObjectName(QStringLiteral("ApcaGroup"));
    auto* apcaGrid = new QGridLayout(apca);
    apcaGrid->addWidget(Label(apca, QStringLiteral("Lightness contrast:")), 0, 0);
    lblLc = Label(apca, QString(), "lblLc");
    lblLc->setFont(big);
    ReserveWidth(lblLc, {QStringLiteral("Lc -108.0")});
    lblLc->setToolTip(QStringLiteral("Positive for dark text on a light background, negative "
                                     "for light text on a dark one"));
    apcaGrid->addWidget(lblLc, 0, 1);
    lblLcUse = Label(apca, QString(), "lblLcUse");
    QStringList uses;
    for (int use = 0; use <= static_cast<int>(ApcaUse::NotReadable); ++use) {
        const std::string_view text = ApcaUseText(static_cast<ApcaUse>(use));
        uses.append(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    ReserveWidth(lblLcUse, uses);
    apcaGrid->addWidget(lblLcUse, 1, 0, 1, 2);
    measures->addWidget(apca);
    measures->addStretch(1);

    auto* sampleGroup = new QGroupBox(QStringLiteral("Sample"), this);
    sampleGroup->setObjectName(QStringLiteral("SampleGroup"));
    auto* sampleLayout = new QVBoxLayout(sampleGroup);
    Sample = new TContrastSample(sampleGroup);
    Sample->setObjectName(QStringLiteral("Sample"));
    sampleLayout->addWidget(Sample);
    sampleLayout->addStretch(1);
    results->addWidget(sampleGroup, 1);

    // The nearest passing colour.
    auto* nearestGroup = new QGroupBox(QStringLiteral("Nearest passing colour"), this);
    nearestGroup->setObjectName(QStringLiteral("NearestGroup"));
    auto* nearestGrid = new QGridLayout(nearestGroup);
    auto* lblTarget = Label(nearestGroup, QStringLiteral("&Level:"), "lblTarget");
    nearestGrid->addWidget(lblTarget, 0, 0);
    cbTarget = new QComboBox(nearestGroup);
    cbTarget->setObjectName(QStringLiteral("cbTarget"));
    for (const ContrastTarget& target : ContrastTargets())
        cbTarget->addItem(QString::fromUtf8(target.name.data(), qsizetype(target.name.size())));
    lblTarget->setBuddy(cbTarget);
    nearestGrid->addWidget(cbTarget, 0, 1);
    NearestSwatch = Swatch(nearestGroup, "NearestSwatch");
    nearestGrid->addWidget(NearestSwatch, 0, 2);
    lblNearestHex = Label(nearestGroup, QString(), "lblNearestHex");
    lblNearestHex->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ReserveWidth(lblNearestHex, {QStringLiteral("#WWWWWW")});
    nearestGrid->addWidget(lblNearestHex, 0, 3);
    btnUseNearest = Button(nearestGroup, QStringLiteral("&Use this colour"), "btnUseNearest");
    nearestGrid->addWidget(btnUseNearest, 0, 5);
    nearestGrid->setColumnStretch(4, 1);
    lblNearestNote = Label(nearestGroup, QString(), "lblNearestNote");
    ReserveWidth(lblNearestNote,
                 {QString::fromLatin1(kAlreadyPasses), QString::fromLatin1(kNoneReaches),
                  QStringLiteral("Reaches Lc -108.0.")});
    nearestGrid->addWidget(lblNearestNote, 1, 1, 1, 5);
    layout->addWidget(nearestGroup);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    layout->addWidget(bevel);
    auto* buttonRow = new QHBoxLayout;
    layout->addLayout(buttonRow);
    buttonRow->addStretch(1);
    btnClose = Button(this, QStringLiteral("Close"), "btnClose");
    btnClose->setDefault(true);
    buttonRow->addWidget(btnClose);

    QWidget::setTabOrder(btnOtherSwatch, edtOther);
    QWidget::setTabOrder(edtOther, btnPick);
    QWidget::setTabOrder(btnPick, btnFavourites);
    QWidget::setTabOrder(btnFavourites, btnSwap);
    QWidget::setTabOrder(btnSwap, cbTarget);
    QWidget::setTabOrder(cbTarget, btnUseNearest);
    QWidget::setTabOrder(btnUseNearest, btnClose);
    edtOther->setFocus();

    connect(btnOtherSwatch, &QPushButton::clicked, this, &TContrastDialog::ChooseOtherColor);
    connect(edtOther, &QLineEdit::textEdited, this, [this] { ApplyOtherText(false); });
    connect(edtOther, &QLineEdit::editingFinished, this, [this] { ApplyOtherText(true); });
    connect(btnPick, &QPushButton::clicked, this, &TContrastDialog::PickOtherColor);
    connect(btnSwap, &QPushButton::clicked, this, &TContrastDialog::Swap);
    connect(cbTarget, &QComboBox::currentIndexChanged, this, &TContrastDialog::UpdateResults);
    connect(btnUseNearest, &QPushButton::clicked, this, &TContrastDialog::UseNearest);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    SetOtherColor(clWhite);
}

void TContrastDialog::SetCurrentColor(TColor color) {
    current_ = ResolveSystemColor(color) & 0xFFFFFF;
    UpdateResults();
}

void TContrastDialog::SetOtherColor(TColor color) {
    other_ = ResolveSystemColor(color) & 0xFFFFFF;
    edtOther->setText(Hex(other_));
    ShowOtherMessage(QString(), false);
    UpdateResults();
}

void TContrastDialog::Swap() {
    currentIsText_ = !currentIsText_;
    UpdateResults();
}

void TContrastDialog::keyPressEvent(QKeyEvent* event) {
    // Enter in the edit takes the typed colour (editingFinished does that); it must not also
    // close the dialog through the default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == edtOther) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TContrastDialog::ApplyOtherText(bool showErrors) {
    const OtherColorText read = ReadOtherColorText(edtOther->text());
    if (read.color) {
        other_ = *read.color;
        ShowOtherMessage(read.message, false);
        UpdateResults();
    } else if (showErrors) {
        ShowOtherMessage(read.message, true);
    }
}

void TContrastDialog::ShowOtherMessage(const QString& message, bool error) {
    lblOtherMessage->setText(message);
    edtOther->setProperty("invalid", error);
    if (error) {
        // A tint as well as the words beside the edit.
        QPalette palette = edtOther->palette();
        const QColor base = palette.color(QPalette::Base);
        palette.setColor(QPalette::Base, QColor((base.red() * 3 + 255) / 4, base.green() * 3 / 4,
                                                base.blue() * 3 / 4));
        edtOther->setPalette(palette);
    } else {
        edtOther->setPalette(QPalette());
    }
}

void TContrastDialog::ChooseOtherColor() {
    const QColor chosen =
        QColorDialog::getColor(ToQColor(other_), this, QStringLiteral("Second colour"));
    if (chosen.isValid())
        SetOtherColor(MakeRGB(static_cast<std::uint8_t>(chosen.red()),
                              static_cast<std::uint8_t>(chosen.green()),
                              static_cast<std::uint8_t>(chosen.blue())));
}

void TContrastDialog::PickOtherColor() {
    const ScreenPick pick = PickScreenColor();
    if (pick.status == ScreenCapture::Status::Done)
        SetOtherColor(pick.color);
    else if (pick.status != ScreenCapture::Status::Cancelled)
        QMessageBox::warning(this, QStringLiteral("Screen color"), pick.message);
}

void TContrastDialog::UseNearest() {
    if (!nearest_.usable || !nearest_.color)
        return;
    const TColor color = *nearest_.color;
    if (makeCurrent_)
        makeCurrent_(color);
    SetCurrentColor(color);
}

void TContrastDialog::UpdateResults() {
    CurrentSwatch->SetColor(current_);
    lblCurrentHex->setText(Hex(current_));
    btnOtherSwatch->setIcon(SwatchIcon(other_, btnOtherSwatch->iconSize()));
    lblRoles->setText(currentIsText_
                          ? QStringLiteral("Text: current colour; background: second colour")
                          : QStringLiteral("Text: second colour; background: current colour"));

    const ContrastReport report = CheckContrast(TextColor(), BackgroundColor());
    lblRatio->setText(QString::fromStdString(FormatContrastRatio(report.ratio)));
    for (int i = 0; i < WcagLevelCount; ++i)
        lblWcag[i]->setText(PassText(report.wcag[i]));
    lblLc->setText(QStringLiteral("Lc ") + QString::fromStdString(FormatLc(report.lc)));
    const std::string_view use = ApcaUseText(report.use);
    lblLcUse->setText(QString::fromUtf8(use.data(), qsizetype(use.size())));
    Sample->SetColors(TextColor(), BackgroundColor());

    const int index = std::max(cbTarget->currentIndex(), 0);
    nearest_ = DescribeNearest(current_, other_,
                               currentIsText_ ? ContrastRole::Text : ContrastRole::Background,
                               ContrastTargets()[static_cast<std::size_t>(index)]);
    NearestSwatch->SetColor(nearest_.color.value_or(clNone));
    lblNearestHex->setText(nearest_.color ? Hex(*nearest_.color) : QStringLiteral("\u2014"));
    lblNearestNote->setText(nearest_.note);
    btnUseNearest->setEnabled(nearest_.usable);
}

void RunContrastCommand(QWidget* parent, TColor current, const QStringList& favourites,
                        const MakeCurrentFn& makeCurrent) {
    TContrastDialog dialog(current, favourites, parent);
    dialog.SetMakeCurrent(makeCurrent);
    dialog.exec();
}

} // namespace chromint
