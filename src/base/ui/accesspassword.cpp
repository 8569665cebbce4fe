#include "accesspassword.h"

#include "base/platform.h"
#include "base/textcatalogue.h"

namespace {

const QString kEnterSection = QStringLiteral("EnterPasswordForm");
const QString kChangeSection = QStringLiteral("ChangePasswordForm");

// Makes a dialog on its first use with the texts last applied to its section.
template <typename Form>
Form *madeOnce(QPointer<Form> &form, QWidget *window, const TextCatalogue &texts, const QString &section)
{
    if (!form) {
        form = new Form(window);
        if (const SectionTexts *applied = texts.appliedTexts(section))
            form->applyStrings(*applied);
    }
    return form;
}

} // namespace

AccessPassword::AccessPassword(TextCatalogue &texts, QObject *parent)
    : QObject(parent), m_texts(texts), m_password(platform::loadStoredPassword())
{
    connect(&m_texts, &TextCatalogue::sectionApplied, this, [this](const QString &section, const SectionTexts &t) {
        if (section == kEnterSection) {
            if (m_enter)
                m_enter->applyStrings(t);
            if (m_enterWithDelete)
                m_enterWithDelete->applyStrings(t);
        } else if (section == kChangeSection && m_change) {
            m_change->applyStrings(t);
        }
    });
}

TPswd2Form *AccessPassword::enterForm(QWidget *window)
{
    return madeOnce(m_enter, window, m_texts, kEnterSection);
}

TPswd3Form *AccessPassword::enterWithDeleteForm(QWidget *window)
{
    return madeOnce(m_enterWithDelete, window, m_texts, kEnterSection);
}

TPswdForm *AccessPassword::changeForm(QWidget *window)
{
    return madeOnce(m_change, window, m_texts, kChangeSection);
}

bool AccessPassword::ask(QWidget *window, const MessageFn &show, bool withDeleteCheckBox, bool *deleteSources)
{
    // The merge asks with the delete check box, which starts unticked.
    TPswdEnterForm &dialog = withDeleteCheckBox ? static_cast<TPswdEnterForm &>(*enterWithDeleteForm(window))
                                                : static_cast<TPswdEnterForm &>(*enterForm(window));
    const PasswordAnswer answer = AskPassword(dialog, m_password, m_texts.message(19), show);
    if (deleteSources)
        *deleteSources = dialog.deleteSourcesTicked();
    return answer == PasswordAnswer::Accepted;
}

void AccessPassword::change(QWidget *window, const MessageFn &show)
{
    const std::optional<QString> fresh =
        ChangePassword(*changeForm(window), m_password, m_texts.message(22), m_texts.message(21), show);
    if (!fresh)
        return;
    m_password = *fresh;
    platform::storePassword(m_password); // a failed write is not reported
}
