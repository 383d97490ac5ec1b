#include "WebSafeQuestion.h"

#include "ColorUtilsWeb.h"

#include <QMessageBox>

namespace chromint {

const char* const WebSafeQuestionCaption = "Web-safe";
const char* const WebSafeQuestionText =
    "Selected color is out of web-safe palette. Do you want to enable True Color palette? If "
    "no, color will be degradated to web-safe.";

bool NeedsWebSafeQuestion(TColor color, bool webOnly) {
    return webOnly && !IsWebSafe(color);
}

WebSafeOutcome ApplyWebSafeAnswer(TColor color, WebSafeAnswer answer) {
    switch (answer) {
    case WebSafeAnswer::Yes:
        return {true, color, true};
    case WebSafeAnswer::No:
        return {true, SnapColor(color, WebSafeStep), false};
    case WebSafeAnswer::Cancel:
        break;
    }
    return {false, color, false};
}

WebSafeAnswer AskWebSafeQuestion(QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(WebSafeQuestionCaption),
                    QString::fromLatin1(WebSafeQuestionText),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("WebSafeQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return WebSafeAnswer::Yes;
    case QMessageBox::No:
        return WebSafeAnswer::No;
    default:
        return WebSafeAnswer::Cancel;
    }
}

} // namespace chromint
