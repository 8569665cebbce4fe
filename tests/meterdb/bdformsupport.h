// A meter database editor with recorders in place of the program around it:
// messages, questions, status-bar texts and the password prompt.
#pragma once

#include "base/stringcatalog.h"
#include "meterdb/ui/bdform.h"
#include "meterdb/ui/meterbaseservices.h"

#include <QStringList>

#include <memory>

namespace meterdbtest {

struct Recorded {
    QStringList messages; // texts of message boxes
    QStringList questions; // texts of Yes/No questions
    QStringList status; // status-bar texts in order
    bool answerYes = true;
    bool passwordOk = true;
    int passwordAsked = 0;
};

inline QString englishMessage(int n)
{
    return catalogDefault(kMainSectionKey, kMessageGroup + QStringLiteral("/Error%1").arg(n), 1);
}

inline MeterBaseServices recordingServices(Recorded &r)
{
    MeterBaseServices s;
    s.language = [] { return 1; };
    s.message = [](int n) { return englishMessage(n); };
    s.exchangeTexts = [] { return SectionTexts{}; };
    s.show = [&r](MessageKind, const QString &text) { r.messages << text; };
    s.confirm = [&r](const QString &question) {
        r.questions << question;
        return r.answerYes;
    };
    s.askPassword = [&r] {
        ++r.passwordAsked;
        return r.passwordOk;
    };
    s.setStatus = [&r](const QString &text) { r.status << text; };
    return s;
}

} // namespace meterdbtest
