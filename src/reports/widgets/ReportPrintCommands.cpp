#include "reports/widgets/ReportPrintCommands.h"

#include "app/CQuillmarchApp.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "reports/PagedDeviceSurface.h"
#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintPass.h"
#include "reports/widgets/ReportSelectionDlg.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "ui/FileDialogs.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

namespace {

const char* const kPdfCaption = "Save as PDF";

// A patient's name as part of a file name: no folder separators.
QString fileNamePart(QString name) {
    static const QString kUnsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (kUnsafe.contains(c))
            c = u'_';
    return name.trimmed();
}

} // namespace

ReportPrintCommands::ReportPrintCommands(CQuillmarchApp& app, CQuillmarchView& view,
                                         FileDialogs& files, QWidget* parent)
    : m_app(app), m_view(view), m_files(&files), m_parent(parent) {
    m_askPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, m_parent);
        return dialog.exec() == QDialog::Accepted;
    };
    m_sheet = [this](ReportPrintSettings& settings) {
        ReportSelectionDlg sheet(m_app, m_app.settings(), m_app.currentUserName(), m_parent);
        return sheet.run(settings);
    };
}

QString ReportPrintCommands::patientName() const {
    const QString name = m_app.getPreference().getPatientName();
    return name.isEmpty() ? m_app.currentUserName() : name;
}

bool ReportPrintCommands::prepare() {
    ReportPrintSettings settings = m_view.printSettings();
    if (!m_sheet(settings))
        return false;
    m_view.printSettings() = settings;
    return settings.anySelected();
}

int ReportPrintCommands::printJob(QPrinter& printer) {
    m_view.setPrinting(true);
    const ReportContext context{m_app, m_app.getVersionText()};
    PagedDeviceSurface surface(printer, printer.colorMode() == QPrinter::GrayScale);
    const int pages = runPrintPass(surface, m_view.printSettings(), context);
    surface.finish();
    endJob();
    return pages;
}

void ReportPrintCommands::endJob() {
    m_view.setPrinting(false);
    if (m_ended)
        m_ended();
}

bool ReportPrintCommands::print(QPrinter& printer) {
    if (!prepare() || !m_askPrinter(printer))
        return false;
    printJob(printer);
    return true;
}

bool ReportPrintCommands::preview(QPrinter& printer) {
    if (!prepare())
        return false;
    // The preview shows all pages in one orientation: the one most of the selected pages have.
    // The patient's own choice of Print Setup... is given back afterwards.
    const QPageLayout::Orientation chosen = printer.pageLayout().orientation();
    printer.setPageOrientation(previewOrientation(m_view.printSettings()));
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    // Landscape pages are read best with most of the screen.
    if (const QScreen* screen = m_parent ? m_parent->screen() : QGuiApplication::primaryScreen())
        dialog.resize(screen->availableGeometry().size() * 0.85);
    // The preview asks again whenever the patient changes the paper or the orientation.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [this](QPrinter* shown) { printJob(*shown); });
    dialog.exec();
    printer.setPageOrientation(chosen);
    return true;
}

QString ReportPrintCommands::defaultPdfName() const {
    return QStringLiteral("%1 reports %2.pdf")
        .arg(fileNamePart(patientName()), formatTime(m_app.clock().now(), "%Y-%m-%d"));
}

bool ReportPrintCommands::saveAsPdf() {
    if (!prepare())
        return false;
    // A desktop without a documents folder offers the home folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString path = m_files->getSaveFileName(
        QString::fromLatin1(kPdfCaption), QDir(folder).filePath(defaultPdfName()),
        QStringLiteral("PDF files (*.pdf);;All files (*)"));
    if (path.isEmpty())
        return false;
    m_view.setPrinting(true);
    const ReportContext context{m_app, m_app.getVersionText()};
    const ReportPdfResult result =
        writeReportPdf(path, m_view.printSettings(), context,
                       QStringLiteral("Quillmarch reports for %1").arg(patientName()));
    endJob();
    if (!result.ok) {
        QString text = QStringLiteral("The file \"%1\" could not be written.").arg(path);
        if (!result.error.isEmpty())
            text += QStringLiteral("\n\n") + result.error;
        m_app.prompts().error(QString::fromLatin1(kPdfCaption), text);
    }
    return result.ok;
}
