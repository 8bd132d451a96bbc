#pragma once

#include <QString>
#include <functional>

class CQuillmarchApp;
class CQuillmarchView;
class FileDialogs;
class QPrinter;
class QWidget;
struct ReportPrintSettings;

// The view's print commands: Print, Print Preview and Save as PDF. Each opens the selection
// sheet first; a cancelled sheet, or one with no report ticked, prints nothing and asks for no
// printer. The chosen reports then go to the printer, the preview or a PDF file in one pass.
class ReportPrintCommands {
public:
    ReportPrintCommands(CQuillmarchApp& app, CQuillmarchView& view, FileDialogs& files,
                        QWidget* parent);

    // Where the PDF file's name is asked.
    void setFileDialogs(FileDialogs& files) { m_files = &files; }
    // Called when a job has ended (the frame refreshes its title).
    void setJobEnded(std::function<void()> ended) { m_ended = std::move(ended); }
    // The print dialog; by default QPrintDialog. True when the patient chose to print.
    void setPrinterQuestion(std::function<bool(QPrinter&)> ask) { m_askPrinter = std::move(ask); }
    // The selection sheet; by default ReportSelectionDlg. True when it was confirmed.
    void setSheet(std::function<bool(ReportPrintSettings&)> sheet) { m_sheet = std::move(sheet); }

    // The sheet, then the print dialog, then the job on the printer. True when printed.
    bool print(QPrinter& printer);
    // The sheet, then the preview of the job on the printer's paper. True when shown.
    bool preview(QPrinter& printer);
    // The sheet, then a file name, then the job into that PDF file. True when written.
    bool saveAsPdf();

    // The sheet's part of every command: true when the patient confirmed it with a report
    // ticked; the view's settings then hold the confirmed choices.
    bool prepare();
    // Prints the job onto the printer (or the preview's printer); returns the pages printed.
    int printJob(QPrinter& printer);

    // The file name offered for a PDF: "<patient> reports <date>.pdf".
    QString defaultPdfName() const;

private:
    QString patientName() const;
    void endJob();

    CQuillmarchApp& m_app;
    CQuillmarchView& m_view;
    FileDialogs* m_files;
    QWidget* m_parent;
    std::function<void()> m_ended;
    std::function<bool(QPrinter&)> m_askPrinter;
    std::function<bool(ReportPrintSettings&)> m_sheet;
};
