// What the meter database windows need from the program around them, and
// nothing more: the parent window, texts of the current language, message
// boxes, the password prompt, the connection of the settings and the status
// bar. The main window fills it in; tests fill it with recorders.
#pragma once

#include "base/stringdocument.h"
#include "base/ui/passworddialogs.h"
#include "device/connection.h"

#include <QString>

#include <functional>

class QWidget;

struct MeterBaseServices {
    QWidget *parent = nullptr;
    // 0 Russian, 1 English.
    std::function<int()> language;
    // The text of message ErrorN in the current language.
    std::function<QString(int n)> message;
    // The texts of the exchange dialog's section, as last applied.
    std::function<SectionTexts()> exchangeTexts;
    // A modal message box.
    MessageFn show;
    // A question with Yes and No; true for Yes.
    std::function<bool(const QString &question)> confirm;
    // The access password before a protected command; true when the command
    // may go on (a wrong entry has then already been reported).
    std::function<bool()> askPassword;
    // The connection the communication settings describe now.
    std::function<device::Connection()> connection;
    // The second status-bar panel: its text (shown at once) and the timer
    // that clears it.
    std::function<void(const QString &)> setStatus;
    std::function<void()> stopStatusTimer;
    std::function<void()> startStatusTimer;
    // The main window's caption from the localized program title, after a
    // device run.
    std::function<void()> restoreCaption;
};
