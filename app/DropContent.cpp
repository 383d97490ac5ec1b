#include "DropContent.h"

#include "ColorNotations.h"
#include "ImageImportDlg.h"

#include <QColor>
#include <QMimeData>
#include <QUrl>

namespace chromint {

TDropContent ReadDrop(const QMimeData& data) {
    TDropContent content;
    if (data.hasColor()) {
        const QColor color = qvariant_cast<QColor>(data.colorData());
        if (color.isValid()) {
            content.kind = TDropContent::Kind::Color;
            content.color = MakeRGB(std::uint8_t(color.red()), std::uint8_t(color.green()),
                                    std::uint8_t(color.blue()));
            return content;
        }
    }
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls()) {
            if (url.isLocalFile() && IsPictureFileName(url.toLocalFile())) {
                content.kind = TDropContent::Kind::Picture;
                content.picture = url.toLocalFile();
                return content;
            }
        }
        return content; // files of other kinds, or addresses: nothing to take
    }
    if (data.hasText()) {
        const TColor color = CodeBoxTextToColor(data.text().trimmed().toStdString());
        if (color != clNone) {
            content.kind = TDropContent::Kind::Color;
            content.color = color;
        }
    }
    return content;
}

} // namespace chromint
