#include "app/branding.h"

#include "studyfile/design_record.h"

// The resources of a static library are registered by hand, outside any namespace.
static void initBrandingResources() {
    Q_INIT_RESOURCE(branding);
}

QPixmap programIcon() {
    static const bool registered = (initBrandingResources(), true);
    Q_UNUSED(registered);
    return QPixmap(QStringLiteral(":/branding/program_icon.png"));
}

QString productText() {
    return studyfile::kProductVersion;
}
