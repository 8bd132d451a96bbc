#include "logbook/widgets/LogbookLook.h"

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
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace LogbookLook
