#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "help/HelpLinks.h"
#include "help/ReleaseNotes.h"
#include "help/frmAbout.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSysInfo>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <QWindow>

#include <optional>

namespace {

// Sets or unsets an environment variable for one scope.
class EnvValue {
public:
    EnvValue(const char* name, std::optional<QByteArray> value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~EnvValue() { m_old ? qputenv(m_name, *m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

QString text(QWidget* w, const char* name)
{
    if (auto* l = w->findChild<QLabel*>(QLatin1String(name)))
        return l->text();
    if (auto* b = w->findChild<QPushButton*>(QLatin1String(name)))
        return b->text();
    return QStringLiteral("<no control %1>").arg(QLatin1String(name));
}

}

Q_DECLARE_METATYPE(std::optional<QByteArray>)

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void captionsOnTheirTabs()
    {
        RecordingShell shell;
        QWidget owner;
        auto* about = new frmAbout(shell, &owner);
        QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(about->windowTitle(), QStringLiteral("Quirkpad - About"));
        QVERIFY(about->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(text(about, "lblHeader"), QStringLiteral("About Quirkpad"));

        auto* tabs = about->findChild<QTabWidget*>(QStringLiteral("tabAbout"));
        QVERIFY(tabs);
        QStringList tabTexts;
        for (int i = 0; i < tabs->count(); ++i)
            tabTexts << tabs->tabText(i);
        QCOMPARE(tabTexts, (QStringList{"About Quirkpad", "Support", "System Information", "What's New"}));

        const struct {
            int tab;
            const char* name;
            QString caption;
        } controls[] = {
            {0, "lblVersion", "Version: 1.6 (December 2004)"},
            {0, "lblCreator1", "Creator:"},
            {0, "lblCreator2", HelpLinks::creator()},
            {0, "lbHome1", "Home:"},
            {0, "lblHome2", HelpLinks::homePage()},
            {0, "lblEMail1", "E-Mail:"},
            {0, "lblEMail2", HelpLinks::emailAddress()},
            {0, "cmdVisitSite", "Go ->"},
            {0, "cmdEMail", "Mail ->"},
            {1, "lblSupport",
             "Quirkpad is a freeware project, however, like all other applications (especially freeware and "
             "opensource), applications are not free to make. If you use Quirkpad, please seriously consider "
             "donating money towards the Quirkpad project by clicking the button and donating any ammount via "
             "PayPal. Any donations are fully appreciated and mean Quirkpad can go on as freeware."},
            {1, "cmdSupport", "Support >>"},
            {2, "lblPCName1", "PC Name:"},
            {2, "lblCurrentUser1", "Current user:"},
            {2, "lblPCName2", QSysInfo::machineHostName()},
        };
        for (const auto& c : controls) {
            QCOMPARE(text(about, c.name), c.caption);
            QWidget* w = about->findChild<QWidget*>(QLatin1String(c.name));
            QVERIFY2(tabs->widget(c.tab)->isAncestorOf(w), c.name);
        }

        // No OK or Close button: the three link buttons are all there is.
        QStringList buttons;
        for (auto* b : about->findChildren<QPushButton*>())
            buttons << b->objectName();
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"cmdEMail", "cmdSupport", "cmdVisitSite"}));
        QVERIFY(!about->findChild<QDialogButtonBox*>());

        auto* notes = about->findChild<QPlainTextEdit*>(QStringLiteral("txtWhatsNew"));
        QVERIFY(notes);
        QVERIFY(tabs->widget(3)->isAncestorOf(notes));
        QVERIFY(notes->isReadOnly());
        QString shown = ReleaseNotes::text();
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(notes->toPlainText(), shown);
        delete about;
    }

    void currentUser_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("user");
        QTest::addColumn<std::optional<QByteArray>>("logname");
        QTest::addColumn<QString>("shown");
        QTest::newRow("USER wins") << std::optional<QByteArray>("alice") << std::optional<QByteArray>("bob")
                                   << "alice";
        QTest::newRow("LOGNAME without USER") << std::optional<QByteArray>() << std::optional<QByteArray>("bob")
                                              << "bob";
        QTest::newRow("neither") << std::optional<QByteArray>() << std::optional<QByteArray>() << "";
        QTest::newRow("not ASCII") << std::optional<QByteArray>("j\xc3\xb6rg") << std::optional<QByteArray>()
                                   << QStringLiteral("j\u00f6rg");
    }

    void currentUser()
    {
        QFETCH(std::optional<QByteArray>, user);
        QFETCH(std::optional<QByteArray>, logname);
        QFETCH(QString, shown);
        EnvValue u("USER", user);
        EnvValue l("LOGNAME", logname);
        RecordingShell shell;
        frmAbout about(shell, nullptr);
        QCOMPARE(text(&about, "lblUsername2"), shown);
        QCOMPARE(text(&about, "lblPCName2"), QSysInfo::machineHostName());
    }

    void buttonsOpenTheMakersAddresses()
    {
        RecordingShell shell;
        frmAbout about(shell, nullptr);
        about.findChild<QPushButton*>(QStringLiteral("cmdVisitSite"))->click();
        about.findChild<QPushButton*>(QStringLiteral("cmdEMail"))->click();
        about.findChild<QPushButton*>(QStringLiteral("cmdSupport"))->click();
        QCOMPARE(shell.opened, (QStringList{HelpLinks::homePage(), HelpLinks::mailLink(), HelpLinks::supportPage()}));

        // The home page is the one shown; the mail goes to the address shown.
        QCOMPARE(shell.opened[0], text(&about, "lblHome2"));
        QCOMPARE(shell.opened[1], QStringLiteral("mailto:") + text(&about, "lblEMail2"));

        // The other pages are on the same site, at their fixed paths.
        const QUrl home(HelpLinks::homePage());
        for (const QString& link : {HelpLinks::supportPage(), HelpLinks::productPage(), HelpLinks::templatesPage()})
            QCOMPARE(QUrl(link).adjusted(QUrl::RemovePath | QUrl::RemoveQuery), home.adjusted(QUrl::RemovePath));
        QCOMPARE(QUrl(HelpLinks::supportPage()).path(), QStringLiteral("/support.aspx"));
        QCOMPARE(QUrl(HelpLinks::productPage()).path() + "?" + QUrl(HelpLinks::productPage()).query(),
                 QStringLiteral("/projects.aspx?ProjectID=2"));
    }

    // However small the user makes the window, every tab shows all it holds:
    // the wrapped Support text is not cut off, nor covered by its button.
    void shrinkingNeverCutsTheSupportText()
    {
        RecordingShell shell;
        frmAbout about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.resize(10, 10);
        about.findChild<QTabWidget*>(QStringLiteral("tabAbout"))->setCurrentIndex(1);
        QApplication::processEvents();
        auto* text = about.findChild<QLabel*>(QStringLiteral("lblSupport"));
        auto* support = about.findChild<QPushButton*>(QStringLiteral("cmdSupport"));
        QVERIFY(text->height() >= text->heightForWidth(text->width()));
        QVERIFY(support->geometry().top() >= text->geometry().bottom());
        QVERIFY(support->geometry().bottom() < support->parentWidget()->height());
    }

    // The release notes read without sideways scrolling, and at the opening
    // size the separator lines between versions stay one line each.
    void releaseNotesFitTheirTab()
    {
        RecordingShell shell;
        frmAbout about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.findChild<QTabWidget*>(QStringLiteral("tabAbout"))->setCurrentIndex(3);
        QApplication::processEvents();
        auto* notes = about.findChild<QPlainTextEdit*>(QStringLiteral("txtWhatsNew"));
        QCOMPARE(notes->horizontalScrollBar()->maximum(), 0);
        int separators = 0;
        for (QTextBlock b = notes->document()->begin(); b.isValid(); b = b.next()) {
            if (b.text() == QString(90, QLatin1Char('-'))) {
                ++separators;
                QCOMPARE(b.lineCount(), 1);
            }
        }
        QVERIFY(separators >= 10);
    }

    void ownedButUsableWhileTheOwnerIsDisabled()
    {
        RecordingShell shell;
        auto* owner = new QWidget;
        owner->show();
        QPointer<frmAbout> about = new frmAbout(shell, owner);
        about->show();
        QCOMPARE(about->windowHandle()->transientParent(), owner->windowHandle());
        // On X11 only a dialog that names its owner is kept above it; a plain
        // window falls behind the disabled main window at the first click.
        QCOMPARE(about->windowHandle()->type(), Qt::Dialog);
        // The main window is disabled while the About window is open.
        owner->setEnabled(false);
        QVERIFY(about->isEnabled());
        QVERIFY(about->findChild<QPushButton*>(QStringLiteral("cmdSupport"))->isEnabled());
        about->findChild<QPushButton*>(QStringLiteral("cmdSupport"))->click();
        QCOMPARE(shell.opened.size(), 1);
        // It goes with its owner.
        delete owner;
        QVERIFY(!about);
    }
};

QP_REGISTER_TEST(AboutTest)
#include "AboutTest.moc"
