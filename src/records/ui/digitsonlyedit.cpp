#include "records/ui/digitsonlyedit.h"

#include <QLineEdit>

DigitsOnlyGuard::DigitsOnlyGuard(QLineEdit *edit) : QObject(edit), m_edit(edit)
{
    m_lastAccepted = isDigits(edit->text()) ? edit->text() : QString();
    connect(edit, &QLineEdit::textChanged, this, &DigitsOnlyGuard::onTextChanged);
}

bool DigitsOnlyGuard::isDigits(const QString &text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void DigitsOnlyGuard::onTextChanged(const QString &text)
{
    if (m_reverting)
        return;
    if (isDigits(text)) {
        m_lastAccepted = text;
        return;
    }
    // The cursor stays where the refused characters would have begun.
    const int grown = int(text.size() - m_lastAccepted.size());
    const int cursor = std::clamp(m_edit->cursorPosition() - std::max(grown, 0), 0, int(m_lastAccepted.size()));
    m_reverting = true;
    m_edit->setText(m_lastAccepted);
    m_edit->setCursorPosition(cursor);
    m_reverting = false;
}
