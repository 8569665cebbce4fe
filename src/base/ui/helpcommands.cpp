#include "helpcommands.h"

#include "aboutbox.h"
#include "appservices.h"

#include "base/platform.h"

#include <QDir>
#include <QScreen>

namespace {

const QString kAboutSection = QStringLiteral("AboutForm");

void applyAboutTexts(TAboutBox &box, const SectionTexts &texts)
{
    box.applyStrings(texts, QString::fromLatin1(kVersionText), QString::fromLatin1(kYearText));
}

} // namespace

HelpCommands::HelpCommands(AppServices &services, const QString &programFolder, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_programFolder(programFolder)
    , m_openDocument([](const QString &path) { return platform::openDocument(path); })
{
    connect(&services.texts(), &TextCatalogue::sectionApplied, this,
            [this](const QString &section, const SectionTexts &texts) {
                if (section == kAboutSection && m_about)
                    applyAboutTexts(*m_about, texts);
            });
}

QString HelpCommands::manualPath() const
{
    return platform::shippedFilePath(m_programFolder, m_services.texts().programText(ProgramText::ManualFile));
}

TAboutBox *HelpCommands::aboutBox()
{
    if (!m_about) {
        m_about = new TAboutBox(m_services.window());
        if (const SectionTexts *texts = m_services.texts().appliedTexts(kAboutSection))
            applyAboutTexts(*m_about, *texts);
    }
    return m_about;
}

void HelpCommands::ShowManual()
{
    const QString path = manualPath();
    if (!m_openDocument(path))
        m_services.showMessage(
            MessageKind::Information,
            m_services.texts().programText(ProgramText::ManualNotOpened).arg(QDir::toNativeSeparators(path)));
}

void HelpCommands::ShowAbout()
{
    const TextCatalogue &texts = m_services.texts();
    QStringList description;
    for (int line = 1; line <= 3; ++line)
        description << texts.text(kAboutSection, QStringLiteral("DeviceDescriptionText/Line%1").arg(line));
    QStringList models;
    for (const char *key : {"QS77", "QT77", "QS75", "QK75", "QK76"})
        models << texts.mainText(QStringLiteral("CalibrationMainTableTitles/") + QLatin1String(key));
    TAboutBox *about = aboutBox();
    about->setModelsText(description, models);
    if (const QWidget *window = m_services.window(); window && window->screen())
        about->move(window->screen()->availableGeometry().center() - about->rect().center());
    about->exec();
}
