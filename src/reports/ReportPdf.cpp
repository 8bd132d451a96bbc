#include "reports/ReportPdf.h"

#include "reports/PagedDeviceSurface.h"
#include "reports/ReportContext.h"
#include "reports/ReportPrintPass.h"
#include "reports/ReportPrintSettings.h"
#include "storage/DatabaseFile.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int kResolution = 300;
// About what a printer cannot reach at the paper's edge, so that a PDF prints like paper.
constexpr qreal kEdgeMm = 6.35;

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write the file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

ReportPdfResult writeReportPdf(const QString& path, const ReportPrintSettings& settings,
                               const ReportContext& context, const QString& title) {
    ReportPdfResult result;
    if (!settings.anySelected()) {
        result.error = QStringLiteral("No report is selected.");
        return result;
    }
    if (DatabaseFile::isDatabaseFile(path)) {
        result.error = cannotWrite(path, QStringLiteral("it is a database file"));
        return result;
    }
    // The job goes to a temporary file beside the target, which replaces the target only once
    // it is complete: a failed job leaves an earlier file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = cannotWrite(path, file.errorString());
        return result;
    }
    bool finished = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(kEdgeMm, kEdgeMm, kEdgeMm, kEdgeMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quillmarch ") + context.versionText);
        PagedDeviceSurface surface(writer);
        result.pages = runPrintPass(surface, settings, context);
        finished = surface.finish();
    }
    if (result.pages == 0) {
        file.cancelWriting();
        result.error = QStringLiteral("The selected reports have nothing to print.");
        return result;
    }
    if (!finished) {
        file.cancelWriting();
        result.error = cannotWrite(path, QStringLiteral("the document could not be completed."));
        return result;
    }
    if (!file.commit()) {
        result.error = cannotWrite(path, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}
