#include "mainwindowfixture.h"

#include "testdir.h"

#include <QtTest>

namespace testsupport {

StartupPaths programPathsIn(const QString &folder, const QString &stringsPath)
{
    StartupPaths p;
    p.programFolder = folder + QLatin1Char('/');
    p.dataFolder = p.programFolder + QStringLiteral("Data/");
    p.configPath = p.programFolder + QStringLiteral("config.cfg");
    p.stringsPath = stringsPath.isEmpty() ? binDir() + QStringLiteral("/DataStrings.xml") : stringsPath;
    return p;
}

MainWindowFixture::MainWindowFixture(const QString &folderPath)
{
    if (folderPath.isEmpty()) {
        ownFolder = std::make_unique<QTemporaryDir>();
        folder = ownFolder->path();
    } else {
        folder = folderPath;
    }
}

bool MainWindowFixture::open()
{
    form.reset();
    form = std::make_unique<TKorvelForm>(programPathsIn(folder), recorder());
    if (!form->FormCreate() || !form->FormActivate())
        return false;
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
}

} // namespace testsupport
