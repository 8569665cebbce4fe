// The access password: the enter dialog, the change dialog and the store.
#include "base/platform.h"
#include "base/ui/passworddialogs.h"
#include "dialogwidgets.h"

#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>

using testsupport::child;

namespace {

struct Recorded {
    MessageKind kind;
    QString text;
};

// Runs `step` on the next modal dialog as soon as it is shown.
void whenDialogShown(std::function<void(QDialog *)> step)
{
    QTimer::singleShot(0, [step] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            whenDialogShown(step);
            return;
        }
        const QPointer<QDialog> open(dialog);
        step(dialog);
        // A failed check inside the step must not leave the dialog open.
        if (QTest::currentTestFailed() && open && open->isVisible())
            open->reject();
    });
}

void typeAndPress(QLineEdit *edit, const QString &text, QPushButton *button)
{
    QTest::keyClicks(edit, text);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestPassword : public QObject {
    Q_OBJECT
private:
    QList<Recorded> shown;
    MessageFn recorder()
    {
        return [this](MessageKind kind, const QString &text) { shown.append({kind, text}); };
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("Korvel"));
    }

    void init()
    {
        shown.clear();
        // Only the password: other keys of the per-user store belong to
        // other tests that may run at the same time.
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"))
            .remove(QStringLiteral("Password"));
    }

    void emptyPasswordAcceptsEmptyEntry()
    {
        TPswd2Form dialog;
        whenDialogShown([&](QDialog *) { QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton); });
        QCOMPARE(AskPassword(dialog, QString(), QStringLiteral("Invalid password."), recorder()),
                 PasswordAnswer::Accepted);
        QVERIFY(shown.isEmpty());
    }

    void entryIsCaseSensitiveAndClearedEachTime()
    {
        TPswd2Form dialog;
        child<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("left over"));
        whenDialogShown([&](QDialog *) {
            QVERIFY(child<QLineEdit>(dialog, "Edit1")->text().isEmpty());
            typeAndPress(child<QLineEdit>(dialog, "Edit1"), QStringLiteral("SECRET"),
                         child<QPushButton>(dialog, "Button1"));
        });
        QCOMPARE(AskPassword(dialog, QStringLiteral("secret"), QStringLiteral("Invalid password."), recorder()),
                 PasswordAnswer::Refused);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Invalid password."));
        QCOMPARE(shown[0].kind, MessageKind::Information);

        whenDialogShown([&](QDialog *) {
            typeAndPress(child<QLineEdit>(dialog, "Edit1"), QStringLiteral("secret"),
                         child<QPushButton>(dialog, "Button1"));
        });
        QCOMPARE(AskPassword(dialog, QStringLiteral("secret"), QString(), recorder()), PasswordAnswer::Accepted);
    }

    void cancelRefusesSilently()
    {
        TPswd3Form dialog;
        QVERIFY(dialog.findChild<QCheckBox *>("DelCheckBox"));
        whenDialogShown([&](QDialog *) { QTest::mouseClick(child<QPushButton>(dialog, "Button2"), Qt::LeftButton); });
        QCOMPARE(AskPassword(dialog, QString(), QStringLiteral("x"), recorder()), PasswordAnswer::Cancelled);
        QVERIFY(shown.isEmpty());
    }

    void entryFieldsTakeAtMostEightCharacters()
    {
        TPswdForm change;
        QTest::keyClicks(child<QLineEdit>(change, "NewPswdEdit"), QStringLiteral("123456789"));
        QCOMPARE(child<QLineEdit>(change, "NewPswdEdit")->text(), QStringLiteral("12345678"));
        TPswd2Form enter;
        QTest::keyClicks(child<QLineEdit>(enter, "Edit1"), QStringLiteral("abcdefghij"));
        QCOMPARE(child<QLineEdit>(enter, "Edit1")->text().size(), 8);
        QCOMPARE(child<QLineEdit>(enter, "Edit1")->echoMode(), QLineEdit::Password);
    }

    void changeComesBackAfterErrorsUntilCancelled()
    {
        TPswdForm dialog;
        // Wrong current password, then mismatching new ones, then cancel.
        whenDialogShown([&](QDialog *) {
            QTest::keyClicks(child<QLineEdit>(dialog, "CurrentPswdEdit"), QStringLiteral("wrong"));
            QTest::keyClicks(child<QLineEdit>(dialog, "NewPswdEdit"), QStringLiteral("n1"));
            QTest::keyClicks(child<QLineEdit>(dialog, "RepPswdEdit"), QStringLiteral("n1"));
            QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
            whenDialogShown([&](QDialog *) {
                QVERIFY(child<QLineEdit>(dialog, "CurrentPswdEdit")->text().isEmpty());
                QTest::keyClicks(child<QLineEdit>(dialog, "CurrentPswdEdit"), QStringLiteral("old"));
                QTest::keyClicks(child<QLineEdit>(dialog, "NewPswdEdit"), QStringLiteral("n1"));
                QTest::keyClicks(child<QLineEdit>(dialog, "RepPswdEdit"), QStringLiteral("n2"));
                QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
                whenDialogShown(
                    [&](QDialog *) { QTest::mouseClick(child<QPushButton>(dialog, "Button2"), Qt::LeftButton); });
            });
        });
        const auto result =
            ChangePassword(dialog, QStringLiteral("old"), QStringLiteral("E22"), QStringLiteral("E21"), recorder());
        QVERIFY(!result.has_value());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("E22"));
        QCOMPARE(shown[1].text, QStringLiteral("E21"));
    }

    void changeToEmptyPasswordIsAllowed()
    {
        TPswdForm dialog;
        whenDialogShown([&](QDialog *) {
            QTest::keyClicks(child<QLineEdit>(dialog, "CurrentPswdEdit"), QStringLiteral("old"));
            QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
        });
        const auto result = ChangePassword(dialog, QStringLiteral("old"), QString(), QString(), recorder());
        QVERIFY(result.has_value());
        QVERIFY(result->isEmpty());
        QVERIFY(shown.isEmpty());
    }

    void storeRoundTripAndOverlongValue()
    {
        QCOMPARE(platform::loadStoredPassword(), QString());
        QVERIFY(platform::storePassword(QStringLiteral("Пароль1")));
        QCOMPARE(platform::loadStoredPassword(), QStringLiteral("Пароль1"));
        QVERIFY(platform::storePassword(QString()));
        QCOMPARE(platform::loadStoredPassword(), QString());
        // A value of 9 characters put into the store by other means is
        // ignored: the password is empty.
        {
            QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"),
                            QStringLiteral("Tessmer"));
            store.setValue(QStringLiteral("Password"), QStringLiteral("123456789"));
        }
        QCOMPARE(platform::loadStoredPassword(), QString());
        const QString file =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"))
                .fileName();
        QVERIFY(platform::storePassword(QStringLiteral("12345678")));
        QCOMPARE(platform::loadStoredPassword(), QStringLiteral("12345678"));
        QCOMPARE(QFile::permissions(file) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
    }

    // The store is created owner-only, whatever the process's file mode
    // mask allows: nothing changes its permissions after it is written, so
    // the password is never readable by others.
    void storeCreatedOwnerOnly()
    {
        const QString file =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"))
                .fileName();
        QFile::remove(file);
        const mode_t previous = ::umask(0);
        const bool stored = platform::storePassword(QStringLiteral("pw"));
        ::umask(previous);
        QVERIFY(stored);
        QCOMPARE(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(platform::loadStoredPassword(), QStringLiteral("pw"));
    }
};

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
