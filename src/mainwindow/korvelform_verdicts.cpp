// Wiring of verdicts and error curves into the main window: the limits table
// is read once at start (a refused file is reported on the status line and
// the built-in table stays in force), the views judge by it, the verdict of
// the shown verification stands in its own field of the status bar, and the
// error curve is drawn beside or under the result grids.
#include "korvelform.h"

#include "base/platform.h"
#include "base/ui/appservices.h"
#include "records/errorlimits.h"
#include "records/verdicttext.h"
#include "reports/reportfile.h"
#include "reports/ui/errorcurveview.h"
#include "views/ui/recordviews.h"

#include <QLabel>
#include <QSplitter>
#include <QStatusBar>

namespace {

// Where the curve stands, kept for the user.
const QString kPlacementKey = QStringLiteral("ErrorCurvePlacement");

} // namespace

void TKorvelForm::wireVerdicts()
{
    const limits::LoadedLimits loaded = limits::loadProgramLimits(m_paths.programFolder);
    m_views->SetLimits(loaded.table);

    // The grids and the curve share the place of the grids.
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("GridCurveSplitter"));
    const int at = m_mainSplitter->indexOf(m_gridArea);
    m_mainSplitter->replaceWidget(at, splitter);
    m_mainSplitter->setStretchFactor(at, 1); // the stretch lives in the widget: the grids' place keeps it
    splitter->addWidget(m_gridArea);
    auto *curve = new ErrorCurveView;
    splitter->addWidget(curve);
    splitter->setChildrenCollapsible(false);
    splitter->setMinimumHeight(m_gridArea->minimumHeight());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({1000, 1000}); // half each until the user moves the handle
    curve->setLimits(loaded.table);
    const auto place = [splitter, curve](bool below) {
        splitter->setOrientation(below ? Qt::Vertical : Qt::Horizontal);
        curve->setPlacedBelow(below);
        platform::storeUserValue(kPlacementKey, below ? QStringLiteral("below") : QStringLiteral("beside"));
    };
    const bool below = platform::loadUserValue(kPlacementKey) == QLatin1String("below");
    curve->setPlacedBelow(below);
    splitter->setOrientation(below ? Qt::Vertical : Qt::Horizontal);
    connect(curve, &ErrorCurveView::placementRequested, this, place);

    auto *verdictPanel = new QLabel(this);
    verdictPanel->setObjectName(QStringLiteral("VerdictPanel"));
    statusBar()->addPermanentWidget(verdictPanel);

    const auto verdictText = [this](const QString &path) { return sectionText(limits::kVerdictSection, path); };
    curve->setTexts(verdictText);
    const auto refresh = [this, curve, verdictPanel] {
        verdictPanel->setText(m_views->ShownVerdictLine());
        const pcn::_totalblockdata *meter = m_views->selectedMeter();
        const int v = m_views->SelectedVerificationIndex();
        curve->setVerification(meter && v >= 0 && v < meter->verifications.size()
                                   ? std::optional<pcn::_blockdata>(meter->verifications.at(v))
                                   : std::nullopt);
    };
    connect(m_views, &RecordViews::verificationSelected, this, refresh);
    connect(m_views, &RecordViews::commandsChanged, this, refresh);
    connect(m_services, &AppServices::textsApplied, this, [this, refresh, loaded, verdictText] {
        refresh();
        const QString refusal = limits::refusalMessage(loaded, verdictText);
        if (!refusal.isEmpty())
            services().showStatus(refusal);
    });
    connect(curve, &ErrorCurveView::saveFinished, this, [this](bool ok, const QString &path) {
        if (!ok)
            services().show(MessageKind::Error, path + QLatin1Char('\n')
                                                    + report::reportFileMessage(report::ReportFileError::CannotWrite,
                                                                                services().language()));
    });
}
