#include "platform/StockIcon.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

namespace platform {

namespace {
constexpr int IconSize = 32;

QStyle::StandardPixmap StyleIcon(StockIconKind kind) {
    switch (kind) {
    case StockIconKind::Stop:
        return QStyle::SP_MessageBoxCritical;
    case StockIconKind::Question:
        return QStyle::SP_MessageBoxQuestion;
    case StockIconKind::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case StockIconKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case StockIconKind::Application:
        break;
    }
    return QStyle::SP_DesktopIcon;
}

// Icons are drawn at a fixed size whatever the style offers.
QPixmap AtIconSize(const QIcon& icon) {
    QPixmap pixmap = icon.pixmap(IconSize, IconSize);
    if (!pixmap.isNull() && pixmap.size() != QSize(IconSize, IconSize))
        pixmap = pixmap.scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}
} // namespace

QPixmap StockIcon(StockIconKind kind) {
    // The program's own icon, when it has one, stands for the application.
    if (kind == StockIconKind::Application && !QApplication::windowIcon().isNull())
        return AtIconSize(QApplication::windowIcon());
    return AtIconSize(QApplication::style()->standardIcon(StyleIcon(kind)));
}

} // namespace platform
