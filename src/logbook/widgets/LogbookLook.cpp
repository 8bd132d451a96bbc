#include "logbook/widgets/LogbookLook.h"

#include <QGuiApplication>
#include <QPixmap>

// The pictures live in a static library; their resource must be registered by hand, once,
// before the first picture is read.
static void initLogbookResources() {
    Q_INIT_RESOURCE(resources);
}

namespace LogbookLook {

namespace {

constexpr int kBoldWeight = 800;

} // namespace

QFont bold(QFont font) {
    font.setWeight(QFont::Weight(kBoldWeight));
    return font;
}

QPixmap iconPixmap(LogIcon icon) {
    static const bool registered = (initLogbookResources(), true);
    (void)registered;
    const QString path = logIconPath(icon);
    if (path.isEmpty())
        return QPixmap();
    // On a screen scaled past 100% the picture drawn at twice the size is used, so the icon
    // keeps its fine lines instead of being enlarged.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (ratio > 1.0) {
        QPixmap fine(QString(path).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")));
        if (!fine.isNull()) {
            fine.setDevicePixelRatio(2.0);
            return fine;
        }
    }
    return QPixmap(path);
}

} // namespace LogbookLook
