#pragma once

#include "ColorTypes.h"

#include <QString>

class QMimeData;

namespace chromint {

// What a drop on the main window brings: a picture file to open in "From image...", a colour
// to make current, or nothing the window takes.
struct TDropContent {
    enum class Kind { Nothing, Picture, Color };
    Kind kind = Kind::Nothing;
    QString picture; // with Picture: the local file
    TColor color = clNone;
};

// A colour (application/x-color) first, then the first local picture file among the URLs,
// then text the code box reads as a colour.
TDropContent ReadDrop(const QMimeData& data);

} // namespace chromint
