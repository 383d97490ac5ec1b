#pragma once

#include "ColorTypes.h"

class QWidget;

namespace chromint {

// The question a colour-returning command asks when "Only web colors" is on and its colour
// is not web-safe: Yes leaves web-only mode and keeps the colour, No snaps it to web-safe,
// Cancel drops the command.
enum class WebSafeAnswer { Yes, No, Cancel };

struct WebSafeOutcome {
    bool accepted = true;      // false: the command ends here, storing nothing
    TColor color = clNone;     // the colour to make current
    bool leaveWebOnly = false; // switch "Only web colors" off first
};

bool NeedsWebSafeQuestion(TColor color, bool webOnly);
WebSafeOutcome ApplyWebSafeAnswer(TColor color, WebSafeAnswer answer);

extern const char* const WebSafeQuestionCaption;
extern const char* const WebSafeQuestionText;

// Shows the question modally over parent.
WebSafeAnswer AskWebSafeQuestion(QWidget* parent);

} // namespace chromint
