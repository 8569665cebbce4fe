// The Help menu: the user manual of the current language, opened with the
// desktop's program for it, and the about box.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class AppServices;
class TAboutBox;

class HelpCommands : public QObject {
    Q_OBJECT
public:
    HelpCommands(AppServices &services, const QString &programFolder, QObject *parent = nullptr);

    // The manual's file for the current language.
    QString manualPath() const;
    // Opens a document, false when no program could; tests replace it.
    void setDocumentOpener(std::function<bool(const QString &)> opener) { m_openDocument = std::move(opener); }
    // The about box, made on first use with the texts last applied.
    TAboutBox *aboutBox();

public slots:
    void ShowManual();
    void ShowAbout();

private:
    AppServices &m_services;
    QString m_programFolder;
    std::function<bool(const QString &)> m_openDocument;
    QPointer<TAboutBox> m_about;
};
