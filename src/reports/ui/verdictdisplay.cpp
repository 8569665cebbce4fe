#include "verdictdisplay.h"

#include "errorcurveview.h"

#include "base/platform.h"
#include "base/ui/appservices.h"
#include "views/verdicttext.h"
#include "views/ui/recordviews.h"

#include <QLabel>
#include <QSplitter>

namespace {

// Where the curve stands, kept for the user.
const QString kPlacementKey = QStringLiteral("ErrorCurvePlacement");

} // namespace

VerdictDisplay::VerdictDisplay(AppServices &services, RecordStore &, RecordViews &views, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_views(views)
    , m_splitter(new QSplitter(Qt::Horizontal))
    , m_curve(new ErrorCurveView)
    , m_verdictPanel(new QLabel)
{
    m_splitter->setObjectName(QStringLiteral("GridCurveSplitter"));
    m_verdictPanel->setObjectName(QStringLiteral("VerdictPanel"));
    QWidget *grids = views.gridArea();
    m_splitter->addWidget(grids);
    m_splitter->addWidget(m_curve);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({1000, 1000}); // half each until the user moves the handle
    const bool below = platform::loadUserValue(kPlacementKey) == QLatin1String("below");
    m_curve->setPlacedBelow(below);
    m_splitter->setOrientation(below ? Qt::Vertical : Qt::Horizontal);
    connect(m_curve, &ErrorCurveView::placementRequested, this, &VerdictDisplay::place);

    const TextCatalogue &texts = services.texts();
    m_curve->setTexts([&texts](const QString &path) { return texts.text(limits::kVerdictSection, path); });
    connect(&views, &RecordViews::verificationSelected, this, &VerdictDisplay::refresh);
    connect(&views, &RecordViews::commandsChanged, this, &VerdictDisplay::refresh);
    connect(&texts, &TextCatalogue::textsApplied, this, [this] {
        refresh();
        const TextCatalogue &texts = m_services.texts();
        const QString refusal = limits::refusalMessage(
            m_loaded, [&texts](const QString &path) { return texts.text(limits::kVerdictSection, path); });
        if (!refusal.isEmpty())
            m_services.showStatus(refusal);
    });
    connect(m_curve, &ErrorCurveView::saveFinished, this, [this](bool ok, const QString &path) {
        if (!ok)
            m_services.showMessage(MessageKind::Error,
                                   path + QLatin1Char('\n')
                                       + m_services.texts().programText(ProgramText::ReportCannotWrite));
    });
}

void VerdictDisplay::setLimits(const limits::LoadedLimits &loaded)
{
    m_loaded = loaded;
    m_views.SetLimits(loaded.table);
    m_curve->setLimits(loaded.table);
}

void VerdictDisplay::place(bool below)
{
    m_splitter->setOrientation(below ? Qt::Vertical : Qt::Horizontal);
    m_curve->setPlacedBelow(below);
    platform::storeUserValue(kPlacementKey, below ? QStringLiteral("below") : QStringLiteral("beside"));
}

void VerdictDisplay::refresh()
{
    m_verdictPanel->setText(m_views.ShownVerdictLine());
    const pcn::_blockdata *shown = m_views.shownVerification();
    m_curve->setVerification(shown ? std::optional<pcn::_blockdata>(*shown) : std::nullopt);
}
