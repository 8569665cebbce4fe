// Verdicts and the error curve beside the result grids: the views judge by
// the limits table read at start (a refused file is told on the status line
// and the built-in table stays in force), the verdict of the shown
// verification stands in a field of its own (placed by the window in the
// status bar), and the error curve is drawn beside or under the grids, where
// the user last put it.
#pragma once

#include "records/errorlimits.h"

#include <QObject>

class AppServices;
class ErrorCurveView;
class QLabel;
class QSplitter;
class RecordStore;
class RecordViews;

class VerdictDisplay : public QObject {
    Q_OBJECT
public:
    VerdictDisplay(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);

    // The limits the views and the curve judge by.
    void setLimits(const limits::LoadedLimits &loaded);

    // The grids and the curve sharing one place, for the window to lay out.
    QSplitter *gridsAndCurve() const { return m_splitter; }
    QLabel *verdictPanel() const { return m_verdictPanel; }
    ErrorCurveView *curve() const { return m_curve; }

private:
    void place(bool below);
    void refresh();

    AppServices &m_services;
    RecordViews &m_views;
    limits::LoadedLimits m_loaded;
    QSplitter *m_splitter;
    ErrorCurveView *m_curve;
    QLabel *m_verdictPanel;
};
