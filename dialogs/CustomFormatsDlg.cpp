#include "CustomFormatsDlg.h"

#include "FormatHint.h"
#include "TextUtils.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace chromint {

namespace {

constexpr std::string_view kNewFormatName = "New format";
constexpr std::string_view kNewFormatPattern = "%hex";

QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* Label(QWidget* parent, const char* name, const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A multi-line box that Tab leaves, as tall as lines of its font.
QPlainTextEdit* TextBox(QWidget* parent, const char* name, int lines, bool readOnly) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setTabChangesFocus(true);
    box->setReadOnly(readOnly);
    const int margins =
        2 * (box->frameWidth() + static_cast<int>(box->document()->documentMargin()));
    box->setFixedHeight(lines * box->fontMetrics().lineSpacing() + margins);
    return box;
}

// The editor's text with line breaks as '\n', non-breaking spaces kept.
std::string TemplateText(const QPlainTextEdit* box) {
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

QString ItemText(const CustomFormat& format) {
    return format.name.empty() ? QStringLiteral("(no name)") : Qs(format.name);
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch == ' '; });
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; });
}

} // namespace

std::string CustomFormatError(const CustomFormat& format) {
    if (IsBlank(format.name))
        return "The name is empty.";
    // The menu cannot show them, and a tab would split its caption.
    if (HasControlCharacter(format.name))
        return "The name contains a tab or a line break.";
    if (Utf8Length(format.name) > kMaxCustomFormatNameLength)
        return "The name is longer than " + IntToString(kMaxCustomFormatNameLength) +
               " characters.";
    if (format.pattern.empty())
        return "The template is empty.";
    if (Utf8Length(format.pattern) > kMaxCustomFormatPatternLength)
        return "The template is longer than " + IntToString(kMaxCustomFormatPatternLength) +
               " characters.";
    const std::vector<std::string> unknown = UnknownPlaceholders(format.pattern);
    if (!unknown.empty()) {
        std::string text = unknown.size() == 1 ? "Unknown placeholder: " : "Unknown placeholders: ";
        for (std::size_t i = 0; i < unknown.size(); ++i) {
            if (i > 0)
                text += ", ";
            text += unknown[i];
        }
        return text;
    }
    return {};
}

int AddCustomFormat(std::vector<CustomFormat>& formats) {
    if (formats.size() >= kMaxCustomFormats)
        return -1;
    formats.push_back({std::string(kNewFormatName), std::string(kNewFormatPattern)});
    return static_cast<int>(formats.size()) - 1;
}

int RemoveCustomFormat(std::vector<CustomFormat>& formats, int row) {
    const int count = static_cast<int>(formats.size());
    if (row < 0 || row >= count)
        return count > 0 ? std::clamp(row, 0, count - 1) : -1;
    formats.erase(formats.begin() + row);
    return std::min(row, count - 2);
}

int MoveCustomFormat(std::vector<CustomFormat>& formats, int row, int delta) {
    const int count = static_cast<int>(formats.size());
    if (row < 0 || row >= count)
        return -1;
    const int target = std::clamp(row + delta, 0, count - 1);
    const auto first = formats.begin();
    if (target < row)
        std::rotate(first + target, first + row, first + row + 1);
    else
        std::rotate(first + row, first + row + 1, first + target + 1);
    return target;
}

QString PlaceholderHelpText() {
    QString text;
    for (const PlaceholderInfo& info : KnownPlaceholders()) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += Qs(info.name) + QLatin1Char('\t') + Qs(info.description);
    }
    return text;
}

TCustomFormatsDialog::TCustomFormatsDialog(std::vector<CustomFormat> formats, TColor current,
                                           QWidget* parent)
    : QDialog(parent), formats_(std::move(formats)), current_(current) {
    setObjectName(QStringLiteral("CustomFormatsDialog"));
    setWindowTitle(QStringLiteral("Custom formats"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    auto* left = new QGridLayout;
    columns->addLayout(left, 1);
    lbFormats = new QListWidget(this);
    lbFormats->setObjectName(QStringLiteral("lbFormats"));
    lbFormats->setMinimumWidth(24 * fontMetrics().averageCharWidth());
    // A blank icon of the same size keeps the names of sound formats in line with the others.
    const int iconSide = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, lbFormats);
    lbFormats->setIconSize(QSize(iconSide, iconSide));
    warningIcon_ = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, lbFormats);
    QPixmap blank(iconSide, iconSide);
    blank.fill(Qt::transparent);
    blankIcon_ = QIcon(blank);
    left->addWidget(Label(this, "lblFormats", "&Formats:", lbFormats), 0, 0, 1, 3);
    left->addWidget(lbFormats, 1, 0, 1, 2);
    auto* listButtons = new QVBoxLayout;
    btnAdd = Button(this, "btnAdd", "&Add");
    btnRemove = Button(this, "btnRemove", "&Remove");
    btnUp = Button(this, "btnUp", "Move &up");
    btnDown = Button(this, "btnDown", "Move &down");
    for (QPushButton* button : {btnAdd, btnRemove, btnUp, btnDown})
        listButtons->addWidget(button);
    listButtons->addStretch(1);
    left->addLayout(listButtons, 1, 2);

    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    edtName->setMaxLength(static_cast<int>(kMaxCustomFormatNameLength));
    edtTemplate = TextBox(this, "edtTemplate", 4, false);
    edtTemplate->setLineWrapMode(QPlainTextEdit::NoWrap);
    memPreview = TextBox(this, "memPreview", 3, true);
    left->addWidget(Label(this, "lblName", "&Name:", edtName), 2, 0);
    left->addWidget(edtName, 2, 1, 1, 2);
    auto* lblTemplate = Label(this, "lblTemplate", "&Template:", edtTemplate);
    left->addWidget(lblTemplate, 3, 0, Qt::AlignTop);
    left->addWidget(edtTemplate, 3, 1, 1, 2);
    left->addWidget(Label(this, "lblPreview", "Pre&view:", memPreview), 4, 0, Qt::AlignTop);
    left->addWidget(memPreview, 4, 1, 1, 2);
    lblError = new QLabel(this);
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setWordWrap(true);
    lblError->setTextFormat(Qt::PlainText);
    lblError->setMinimumHeight(2 * fontMetrics().lineSpacing());
    lblError->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    left->addWidget(lblError, 5, 1, 1, 2);
    left->setRowStretch(1, 1);
    left->setColumnStretch(1, 1);

    auto* right = new QVBoxLayout;
    columns->addLayout(right);
    memPlaceholders = new QPlainTextEdit(this);
    memPlaceholders->setObjectName(QStringLiteral("memPlaceholders"));
    memPlaceholders->setReadOnly(true);
    memPlaceholders->setTabChangesFocus(true);
    memPlaceholders->setLineWrapMode(QPlainTextEdit::NoWrap);
    memPlaceholders->setPlainText(PlaceholderHelpText());
    // Wide enough for the longest line: names in one column, descriptions in the next.
    const QFontMetrics metrics = memPlaceholders->fontMetrics();
    int nameWidth = 0, descriptionWidth = 0;
    for (const PlaceholderInfo& info : KnownPlaceholders()) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(Qs(info.name)));
        descriptionWidth =
            std::max(descriptionWidth, metrics.horizontalAdvance(Qs(info.description)));
    }
    const int tabStop = nameWidth + 2 * metrics.averageCharWidth();
    memPlaceholders->setTabStopDistance(tabStop);
    memPlaceholders->setMinimumWidth(
        tabStop + descriptionWidth + metrics.averageCharWidth() +
        2 * memPlaceholders->frameWidth() +
        2 * static_cast<int>(memPlaceholders->document()->documentMargin()) +
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memPlaceholders));
    right->addWidget(Label(this, "lblPlaceholders", "&Placeholders:", memPlaceholders));
    right->addWidget(memPlaceholders, 1);
    const QString help = QStringLiteral("A placeholder is replaced by the colour's number; "
                                        "letter case does not matter.");
    edtTemplate->setToolTip(help);
    memPlaceholders->setToolTip(help);

    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    QWidget* order[] = {lbFormats,   btnAdd,     btnRemove,       btnUp, btnDown,  edtName,
                        edtTemplate, memPreview, memPlaceholders, btnOk, btnCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(lbFormats, &QListWidget::currentRowChanged, this, &TCustomFormatsDialog::ShowSelected);
    connect(btnAdd, &QPushButton::clicked, this, &TCustomFormatsDialog::AddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TCustomFormatsDialog::RemoveClick);
    connect(btnUp, &QPushButton::clicked, this, [this] { MoveClick(-1); });
    connect(btnDown, &QPushButton::clicked, this, [this] { MoveClick(1); });
    connect(edtName, &QLineEdit::textChanged, this, &TCustomFormatsDialog::NameEdited);
    connect(edtTemplate, &QPlainTextEdit::textChanged, this, &TCustomFormatsDialog::TemplateEdited);

    FillList(formats_.empty() ? -1 : 0);
    lbFormats->setFocus();
}

bool TCustomFormatsDialog::Execute() {
    return exec() == QDialog::Accepted;
}

int TCustomFormatsDialog::SelectedRow() const {
    const int row = lbFormats->currentRow();
    return row >= 0 && row < static_cast<int>(formats_.size()) ? row : -1;
}

void TCustomFormatsDialog::accept() {
    // Return in an editor reaches here even while OK is disabled.
    if (btnOk->isEnabled())
        QDialog::accept();
}

void TCustomFormatsDialog::AddClick() {
    const int row = AddCustomFormat(formats_);
    if (row < 0)
        return;
    FillList(row);
    edtName->setFocus();
    edtName->selectAll();
}

void TCustomFormatsDialog::RemoveClick() {
    FillList(RemoveCustomFormat(formats_, SelectedRow()));
    if (!btnRemove->isEnabled())
        lbFormats->setFocus();
}

void TCustomFormatsDialog::MoveClick(int delta) {
    const int row = SelectedRow();
    if (row < 0)
        return;
    FillList(MoveCustomFormat(formats_, row, delta));
    // The button that went dim at the end of the list would hand focus to a stranger.
    if (auto* button = delta < 0 ? btnUp : btnDown; !button->isEnabled())
        lbFormats->setFocus();
}

void TCustomFormatsDialog::FillList(int selectRow) {
    {
        const QSignalBlocker blocker(lbFormats);
        lbFormats->clear();
        for (const CustomFormat& format : formats_)
            lbFormats->addItem(ItemText(format));
        lbFormats->setCurrentRow(selectRow);
    }
    ShowSelected();
}

void TCustomFormatsDialog::ShowSelected() {
    const int row = SelectedRow();
    showing_ = true;
    edtName->setText(row < 0 ? QString() : Qs(formats_[row].name));
    edtTemplate->setPlainText(row < 0 ? QString() : Qs(formats_[row].pattern));
    showing_ = false;
    edtName->setEnabled(row >= 0);
    edtTemplate->setEnabled(row >= 0);
    UpdatePreview();
    UpdateState();
}

void TCustomFormatsDialog::NameEdited() {
    const int row = SelectedRow();
    if (showing_ || row < 0)
        return;
    formats_[row].name = edtName->text().toStdString();
    lbFormats->item(row)->setText(ItemText(formats_[row]));
    UpdateState();
}

void TCustomFormatsDialog::TemplateEdited() {
    const int row = SelectedRow();
    if (showing_ || row < 0)
        return;
    formats_[row].pattern = TemplateText(edtTemplate);
    UpdatePreview();
    UpdateState();
}

void TCustomFormatsDialog::UpdatePreview() {
    const int row = SelectedRow();
    memPreview->setPlainText(row < 0 ? QString() : Qs(ExpandCustomFormat(formats_[row], current_)));
}

void TCustomFormatsDialog::UpdateState() {
    const int row = SelectedRow();
    const int count = static_cast<int>(formats_.size());
    QString shown;
    int firstBad = -1;
    for (int i = 0; i < count; ++i) {
        const QString error = Qs(CustomFormatError(formats_[i]));
        QListWidgetItem* item = lbFormats->item(i);
        item->setIcon(error.isEmpty() ? blankIcon_ : warningIcon_);
        item->setToolTip(error);
        if (error.isEmpty())
            continue;
        if (firstBad < 0)
            firstBad = i;
        if (i == row)
            shown = error;
    }
    // The selected format's error first; else say which other format holds OK back.
    if (shown.isEmpty() && firstBad >= 0)
        shown = QStringLiteral("%1: %2").arg(ItemText(formats_[firstBad]),
                                             Qs(CustomFormatError(formats_[firstBad])));
    lblError->setText(shown);
    btnOk->setEnabled(firstBad < 0);
    btnAdd->setEnabled(count < static_cast<int>(kMaxCustomFormats));
    btnRemove->setEnabled(row >= 0);
    btnUp->setEnabled(row > 0);
    btnDown->setEnabled(row >= 0 && row < count - 1);
}

std::optional<std::vector<CustomFormat>>
EditCustomFormats(QWidget* parent, std::vector<CustomFormat> formats, TColor current) {
    TCustomFormatsDialog dialog(std::move(formats), current, parent);
    if (!dialog.Execute())
        return std::nullopt;
    return dialog.Formats();
}

} // namespace chromint
