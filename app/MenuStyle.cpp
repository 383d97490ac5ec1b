#include "MenuStyle.h"

#include <QMenu>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace chromint {

namespace {

// QMenu adds the value column to the widest label itself; the style must not add it too.
class ValueColumnOnceStyle final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        if (type == CT_MenuItem) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem copy(*item);
                copy.reservedShortcutWidth = 0;
                return QProxyStyle::sizeFromContents(type, &copy, size, widget);
            }
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
};

} // namespace

void FitMenuToContents(QMenu* menu) {
    auto* style = new ValueColumnOnceStyle;
    style->setParent(menu);
    menu->setStyle(style);
}

} // namespace chromint
