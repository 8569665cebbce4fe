// Application services over the built-in texts of one language and default
// settings, as a controller test gives them: messages are recorded, the
// password is answered without a dialog.
#pragma once

#include "base/settingsfile.h"
#include "base/ui/appservices.h"

#include <QStringList>

namespace testsupport {

struct TextsAndSettings {
    explicit TextsAndSettings(int language) : catalogue(language) { settingsStore.replace(defaultSettings()); }
    TextCatalogue catalogue;
    SettingsStore settingsStore;
};

class FakeServices : public TextsAndSettings, public AppServices {
public:
    explicit FakeServices(int language = LanguageEnglish, QWidget *window = nullptr)
        : TextsAndSettings(language), AppServices(catalogue, settingsStore)
    {
        setWindow(window);
        setMessageSink([this](MessageKind, const QString &text) { shown << text; });
    }
    bool passwordAccepted(bool, bool *deleteSources) override
    {
        ++passwordAsked;
        if (deleteSources)
            *deleteSources = deleteSourcesTicked;
        return passwordAnswer;
    }

    QStringList shown;
    bool passwordAnswer = true;
    bool deleteSourcesTicked = false; // the merge's delete box as the answer leaves it
    int passwordAsked = 0;
};

} // namespace testsupport
