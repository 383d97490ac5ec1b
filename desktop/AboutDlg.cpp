#include "AboutDlg.h"

#include "DesktopUtils.h"

#include "ColorOperations.h"
#include "ColorPreviewLayout.h"
#include "ColorTypes.h"
#include "SplashFrm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace chromint {

namespace {

// The product name as a picture, as wide as the text column.
QPixmap NamePicture() {
    QPixmap picture(176, 29);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = painter.font();
    font.setPixelSize(24);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x24, 0x33, 0x46));
    painter.drawText(picture.rect(), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Chromint"));
    return picture;
}

// The hue ring of the product picture, square.
QPixmap LogoPicture() {
    const QPixmap splash = TSplashForm::ProductPicture(QSize(359, 210));
    const QPixmap ring = splash.copy(QRect(0, 0, 140, 140));
    return ring.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TAboutDialog::TAboutDialog(QWidget* parent, const QString& note) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(270, 198);

    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("Panel"));
    panel_->setGeometry(0, 0, 270, 158);
    panel_->setAutoFillBackground(true);

    auto* image = new QLabel(panel_);
    image->setObjectName(QStringLiteral("Image"));
    image->setGeometry(8, 8, 64, 64);
    image->setPixmap(LogoPicture());
    auto* imageName = new QLabel(panel_);
    imageName->setObjectName(QStringLiteral("ImageName"));
    imageName->setGeometry(86, 8, 176, 29);
    imageName->setPixmap(NamePicture());

    lblAppVersion_ = new QLabel(QStringLiteral("Chromint\nVersion"), panel_);
    lblAppVersion_->setObjectName(QStringLiteral("lblAppVersion"));
    lblAppVersion_->setGeometry(86, 46, 176, 26);
    auto* legal = new QLabel(QStringLiteral("\u00a9 Qelvo Lab.\nAll rights reserved."), panel_);
    legal->setObjectName(QStringLiteral("lblLegal"));
    legal->setGeometry(86, 80, 176, 26);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(0, 157, 270, 2);

    lblLink_ = new QLabel(QString::fromLatin1(MakerWebAddress), this);
    lblLink_->setObjectName(QStringLiteral("lblLink"));
    lblLink_->move(8, 171);
    lblLink_->setCursor(Qt::PointingHandCursor);
    QPalette linkPalette = lblLink_->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 102, 204));
    lblLink_->setPalette(linkPalette);
    lblLink_->adjustSize();
    lblLink_->installEventFilter(this);

    btnOk_ = new QPushButton(QStringLiteral("OK"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setGeometry(187, 167, 75, 23);
    btnOk_->setDefault(true);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);

    // The whole address beside the button: the dialog widens where the font needs it.
    const int needed = lblLink_->x() + lblLink_->width() + 12 + btnOk_->width() + 8;
    if (needed > width()) {
        const int extra = needed - width();
        setFixedSize(needed, height());
        panel_->resize(panel_->width() + extra, panel_->height());
        bevel->resize(bevel->width() + extra, bevel->height());
        btnOk_->move(btnOk_->x() + extra, btnOk_->y());
    }

    if (!note.isEmpty()) {
        auto* lblNote = new QLabel(note, this);
        lblNote->setObjectName(QStringLiteral("lblNote"));
        lblNote->setWordWrap(true);
        const int noteWidth = width() - 16;
        const int noteHeight = lblNote->heightForWidth(noteWidth);
        lblNote->setGeometry(8, 165, noteWidth, noteHeight);
        const int extra = noteHeight + 8;
        setFixedSize(width(), height() + extra);
        lblLink_->move(lblLink_->x(), lblLink_->y() + extra);
        btnOk_->move(btnOk_->x(), btnOk_->y() + extra);
    }

    // FormCreate: the version line and the panel a shade lighter than the window.
    lblAppVersion_->setText(QStringLiteral("%1 %2.%3.%4.%5")
                                .arg(lblAppVersion_->text())
                                .arg(ProgramVersion.major)
                                .arg(ProgramVersion.minor)
                                .arg(ProgramVersion.release)
                                .arg(ProgramVersion.build));
    QPalette panelPalette = panel_->palette();
    const QColor formColor = palette().color(QPalette::Window);
    panelPalette.setColor(QPalette::Window,
                          ToQColor(BlendPercent(ToTColor(formColor), clWhite, 75)));
    panel_->setPalette(panelPalette);

    if (parent != nullptr) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(parent->frameGeometry().center());
        move(frame.topLeft());
    }
}

bool TAboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblLink_ && event->type() == QEvent::MouseButtonRelease) {
        lblLinkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutDialog::lblLinkClick() {
    QApplication::processEvents();
    OpenAddress(this, QUrl(QString::fromLatin1(MakerWebAddress)));
}

void TAboutDialog::ShowAbout(QWidget* parent, const QString& note) {
    TAboutDialog dialog(parent, note);
    dialog.exec();
}

} // namespace chromint
