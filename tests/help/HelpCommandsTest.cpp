#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "help/HelpLinks.h"
#include "help/frmAbout.h"
#include "files/AppPaths.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QFile>
#include <QTest>

using Answer = Prompts::Answer;

namespace {

const QString kLicence = QStringLiteral("Would you like to save your document before opening another?");

}

class HelpCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { AppPaths::setDataDir(QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR)); }

    void licenceBecomesTheDocument()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        f.settings.store(Setting::LastDir, QStringLiteral("/kept/"));
        run(w, Cmd::mnuLicenceAgreement);
        const QString path = AppPaths::dataDir() + QStringLiteral("/Files/License Agreement.txt");
        QVERIFY(f.prompts.calls.isEmpty());
        QVERIFY(padOf(w)->Text().contains(QStringLiteral("GNU GENERAL PUBLIC LICENSE")));
        QCOMPARE(padOf(w)->document().location(), path);
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quirkpad"));   // the caption stays as it was
        QCOMPARE(f.settings.get(Setting::LastDir), QStringLiteral("/kept/"));
    }

    void licenceAsksToSaveFirst()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        padOf(w)->SetText(QStringLiteral("my page"));

        f.prompts.answer(Answer::Cancel);
        run(w, Cmd::mnuLicenceAgreement);
        QCOMPARE(f.prompts.calls.last().text, kLicence);
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Exclamation);
        QCOMPARE(f.prompts.calls.last().buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(padOf(w)->Text(), QStringLiteral("my page"));

        // Yes, and the save did not happen: stop, keep the text.
        f.prompts.answer(Answer::Yes).answerSave(std::nullopt);
        run(w, Cmd::mnuLicenceAgreement);
        QCOMPARE(padOf(w)->Text(), QStringLiteral("my page"));
        QCOMPARE(changedLabel(w), QStringLiteral("Yes"));

        // Yes, saved: the licence follows.
        const QString saved = f.dir.filePath(QStringLiteral("page.html"));
        f.prompts.answer(Answer::Yes).answerSave(saved);
        run(w, Cmd::mnuLicenceAgreement);
        QCOMPARE(TestFiles::read(saved), QByteArray("my page"));
        QVERIFY(padOf(w)->Text().contains(QStringLiteral("GNU GENERAL PUBLIC LICENSE")));
        QCOMPARE(f.prompts.pending(), 0);
    }

    void missingLicenceLeavesTheDocument()
    {
        MainWindowFixture f;
        AppPaths::setDataDir(f.dir.path());   // no Files/ here
        frmMain& w = f.make();
        padOf(w)->SetText(QStringLiteral("untouched"));
        padOf(w)->document().setModified(false);
        f.prompts.answer(Answer::Ok);
        run(w, Cmd::mnuLicenceAgreement);
        QCOMPARE(f.prompts.calls.size(), 1);
        QVERIFY(f.prompts.calls.first().text.startsWith(QStringLiteral("Error:\r\n\"")));
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Error);
        QCOMPARE(padOf(w)->Text(), QStringLiteral("untouched"));
        QCOMPARE(padOf(w)->document().location(), QString());
    }

    void webSiteItemsOpenTheMakersPages()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        run(w, Cmd::mnuWebSite);
        run(w, Cmd::mnuQPWebSite);
        QCOMPARE(f.shell.opened, (QStringList{HelpLinks::homePage(), HelpLinks::productPage()}));
        QVERIFY(f.shell.opened.at(1).endsWith(QStringLiteral("/projects.aspx?ProjectID=2")));
        QVERIFY(QUrl(f.shell.opened.at(0)).host().endsWith(QStringLiteral(".example")));
    }

    void aboutDisablesTheMainWindowUntilItCloses()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        QTest::keyClick(padOf(w), Qt::Key_F12);
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        frmAbout* about = openWindows<frmAbout>().first();
        QVERIFY(about->isVisible());
        QVERIFY(!w.isEnabled());
        run(w, Cmd::mnuAbout);   // one About window at a time
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        about->close();
        QTRY_VERIFY(w.isEnabled());
    }
};

QP_REGISTER_TEST(HelpCommandsTest)
#include "HelpCommandsTest.moc"
