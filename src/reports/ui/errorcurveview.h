// The error curve of the shown verification beside (or under) the result
// grid: the chart's page-model items painted at the widget's size, the same
// drawing as in the protocol. Its context menu saves the chart as a PNG
// image or a PDF document and moves it beside or under the grid.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "reports/pagemodel.h"

#include <QLocale>
#include <QWidget>

#include <functional>
#include <optional>

class ErrorCurveView : public QWidget {
    Q_OBJECT
public:
    using Texts = std::function<QString(const QString &path)>; // section "Verdicts"
    // Asks for the name of a file to save; empty when cancelled.
    using SaveNameAsker = std::function<QString(const QString &filter)>;

    explicit ErrorCurveView(QWidget *parent = nullptr);

    void setTexts(Texts texts);
    void setLocale(const QLocale &locale)
    {
        m_locale = locale;
        update();
    }
    void setLimits(const limits::Table &table);
    // The verification to draw; none clears the chart.
    void setVerification(const std::optional<pcn::_blockdata> &verification);
    void setSaveNameAsker(SaveNameAsker asker) { m_askSave = std::move(asker); }
    // Whether the context menu's placement item says "below" (true) or
    // "beside" (false): the state of the owner's layout.
    void setPlacedBelow(bool below) { m_below = below; }

    bool hasVerification() const { return m_verification.has_value(); }
    // The chart as the widget draws it, on a page of its size in millimetres.
    report::ReportPages page(const QSizeF &sizeMm) const;

    // Saves the chart at a printable size: PNG at 200 dpi, or PDF.
    bool savePng(const QString &path) const;
    bool savePdf(const QString &path) const;

signals:
    // The user asked to move the chart below (true) or beside the grid.
    void placementRequested(bool below);
    // A save from the context menu ended; `ok` false when the file could not
    // be written.
    void saveFinished(bool ok, const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QString text(const QString &path) const { return m_texts ? m_texts(path) : QString(); }

    Texts m_texts;
    QLocale m_locale;
    limits::Table m_limits = limits::builtInLimits();
    std::optional<pcn::_blockdata> m_verification;
    SaveNameAsker m_askSave;
    bool m_below = false;
};
