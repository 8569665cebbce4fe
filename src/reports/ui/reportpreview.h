// The modal preview of a laid-out protocol or a loaded report file: paging,
// zoom and printing through Qt's print preview and print dialog, plus
// "Save" as a report file and "Save as PDF".
#pragma once

#include "base/ui/passworddialogs.h"
#include "reports/pagemodel.h"

#include <QPrintPreviewDialog>

#include <functional>
#include <memory>

class QPrinter;

class TReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    // Asks for the file to save into, starting in `folder`; empty when the
    // user cancels.
    using SaveNameAsker = std::function<QString(const QString &caption, const QString &filter, const QString &folder)>;

    // `language` 0 Russian, 1 English; `reportsLabel` names report files in
    // the save dialog's filter ("Отчеты" / "Reports").
    TReportPreview(const report::ReportPages &pages, int language, const QString &reportsLabel, MessageFn show,
                   QWidget *parent = nullptr);
    ~TReportPreview() override;

    const report::ReportPages &pages() const { return m_pages; }

    // Replaces the file dialog (tests).
    void setSaveNameAsker(SaveNameAsker asker) { m_askName = std::move(asker); }

public slots:
    void SaveClick();
    void SavePdfClick();
    // Printing ends by accepting the dialog; the preview stays open until
    // the user closes it, to page, save or print again.
    void accept() override {}

private:
    void paintPages(QPrinter *printer);
    // `kind` names the kind of file for the folder the dialog starts in.
    QString askName(const QString &caption, const QString &filter, const QString &suffix, const QString &kind);

    report::ReportPages m_pages;
    int m_language;
    QString m_reportsLabel;
    MessageFn m_show;
    SaveNameAsker m_askName;
    QAction *m_save = nullptr;
    QAction *m_savePdf = nullptr;
};
