// Wiring of verdicts and error curves into the main window: the limits
// table shipped beside the program is read once at start.
#include "korvelform.h"

#include "records/errorlimits.h"
#include "reports/ui/verdictdisplay.h"

void TKorvelForm::wireVerdicts()
{
    m_verdicts = new VerdictDisplay(*m_services, *m_store, *m_views, this);
    m_verdicts->setObjectName(QStringLiteral("VerdictDisplay"));
    m_verdicts->setLimits(limits::loadProgramLimits(m_paths.programFolder));
}
