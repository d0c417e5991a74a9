#include "EditorParts.h"
#include "MainWindowFixture.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "base/NumberText.h"
#include "editor/RichTextBox.h"
#include "shell/frmSettings.h"
#include "help/frmAbout.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

frmSettings* settingsWindow()
{
    const QList<frmSettings*> open = openWindows<frmSettings>();
    return open.isEmpty() ? nullptr : open.first();
}

frmSettings* openSettings(frmMain& w)
{
    run(w, Cmd::mnuSettings);
    return settingsWindow();
}

void closeSettings(frmMain& w, frmSettings* s)
{
    s->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    QTRY_VERIFY(!settingsWindow());
    w.applyFontSettings();   // what the next activation does
}

}

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsTheDefaultFont()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        padOf(w)->SetFontSize(20);
        w.applyFontSettings();
        QCOMPARE(padOf(w)->FontName(), QStringLiteral("Lucida Console"));
        QCOMPARE(padOf(w)->FontSize(), 9.0);
        // Whatever stands for the name, it is a fixed-pitch face.
        QFont shown(padOf(w)->FontName());
        QVERIFY(QFontInfo(shown).fixedPitch());
    }

    // The stored font is there from the first show, before (and without)
    // the window ever being activated.
    void storedFontAppliesWhenFirstShown()
    {
        MainWindowFixture f;
        f.settings.store(Setting::PadFontSize, QStringLiteral("14"));
        frmMain& w = f.make();
        QCOMPARE(padOf(w)->FontSize(), 9.0);
        w.show();
        QVERIFY(!w.isActiveWindow());
        QCOMPARE(padOf(w)->FontSize(), 14.0);
    }

    void openingAndClosingStoresTheChoices()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        run(w, Cmd::mnuFind);
        frmSettings* s = openSettings(w);
        QVERIFY(s);
        QCOMPARE(s->windowTitle(), QStringLiteral("Quirkpad - Settings"));
        QVERIFY(!w.isEnabled());
        QVERIFY(s->isEnabled());
        QWidget* find = toolWindow(QStringLiteral("frmFind"));
        QVERIFY(find && find->isEnabled());   // owned by the main window, not part of it
        // A disabled window takes no shortcut either.
        int news = 0;
        partOf<CommandTable>(w).on(Cmd::mnuNew, [&news] { ++news; });
        QTest::keySequence(&w, QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(news, 0);
        QCOMPARE(f.settings.get(Setting::PadFontName), QStringLiteral("Lucida Console"));
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("9"));
        QCOMPARE(s->fontSize()->text(), QStringLiteral("9"));
        closeSettings(w, s);
        QVERIFY(w.isEnabled());
        QCOMPARE(f.settings.get(Setting::PadFontName), QStringLiteral("Lucida Console"));
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("9"));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    void aChosenFontAndSizeReachTheEditor()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        frmSettings* s = openSettings(w);
        const int other = s->fontNames()->findText(QStringLiteral("DejaVu Serif"));
        QVERIFY(other >= 0);
        s->fontNames()->setCurrentIndex(other);
        s->fontSize()->setText(QStringLiteral("14"));
        closeSettings(w, s);
        QCOMPARE(f.settings.get(Setting::PadFontName), QStringLiteral("DejaVu Serif"));
        QCOMPARE(padOf(w)->FontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(padOf(w)->FontSize(), 14.0);
    }

    void aSizeThatIsNotANumberIsStoredAndIgnored()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        frmSettings* s = openSettings(w);
        s->fontSize()->setText(QStringLiteral("abc"));
        s->close();
        QTRY_VERIFY(!settingsWindow());
        w.applyFontSettings();
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("abc"));
        QCOMPARE(padOf(w)->FontSize(), 9.0);
        QVERIFY(f.prompts.calls.isEmpty());
        // Reopening shows the real size again, and stores it.
        s = openSettings(w);
        QCOMPARE(s->fontSize()->text(), QStringLiteral("9"));
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("9"));
        closeSettings(w, s);
    }

    // A stored size the eye cannot read is refused at activation like any
    // other size the editor cannot take: the text keeps its size, silently.
    void sizesBelowAPointAreRefused_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("shown");
        QTest::newRow("0.005") << QStringLiteral("0.005") << 9.0;
        QTest::newRow("0.5") << QStringLiteral("0.5") << 9.0;
        QTest::newRow("0.99") << QStringLiteral("0.99") << 9.0;
        QTest::newRow("1") << QStringLiteral("1") << 1.0;
        QTest::newRow("1.25") << QStringLiteral("1.25") << 1.25;
    }

    void sizesBelowAPointAreRefused()
    {
        QFETCH(QString, stored);
        MainWindowFixture f;
        frmMain& w = f.show();
        f.settings.store(Setting::PadFontSize, stored);
        w.applyFontSettings();
        QTEST(padOf(w)->FontSize(), "shown");
        QVERIFY(f.prompts.calls.isEmpty());
    }

    void defaultButtonsAndTheFontList()
    {
        EditorParts f;
        frmSettings* s = f.open<frmSettings>(f.pad, f.settings, f.prompts);
        const QStringList names = [&] {
            QStringList l;
            for (int i = 0; i < s->fontNames()->count(); ++i)
                l << s->fontNames()->itemText(i);
            return l;
        }();
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(names, sorted);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const QString& family : QFontDatabase::families())
            QVERIFY(names.contains(family));
        QVERIFY(!s->fontNames()->isEditable());

        s->fontNames()->setCurrentIndex(0);
        s->fontSize()->setText(QStringLiteral("30"));
        s->findChild<QPushButton*>(QStringLiteral("cmdDefaultPadFont"))->click();
        s->findChild<QPushButton*>(QStringLiteral("cmdDefaultPadFontSize"))->click();
        QCOMPARE(s->fontNames()->currentText(), QStringLiteral("Lucida Console"));
        QCOMPARE(s->fontSize()->text(), QStringLiteral("9"));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // Stretching the window widens the fields for long font names; it never
    // grows taller than its two rows and button, nor shrinks them away.
    void resizingWidensButNeverOpensAGap()
    {
        EditorParts f;
        frmSettings* s = f.open<frmSettings>(f.pad, f.settings, f.prompts);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        const QSize natural = s->size();
        s->resize(natural.width() * 2, natural.height() * 3);
        QCOMPARE(s->height(), natural.height());
        QCOMPARE(s->width(), natural.width() * 2);
        QVERIFY(s->fontNames()->width() > natural.width() / 2);
        s->resize(10, 10);
        QVERIFY(s->width() >= s->minimumSizeHint().width());
        QVERIFY(s->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isVisible());
    }

    // Keyboard users: Enter presses the focused button, as Space does.
    void enterPressesTheFocusedButton()
    {
        EditorParts f;
        frmSettings* s = f.open<frmSettings>(f.pad, f.settings, f.prompts);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        s->fontSize()->setText(QStringLiteral("30"));
        auto* defaultSize = s->findChild<QPushButton*>(QStringLiteral("cmdDefaultPadFontSize"));
        defaultSize->setFocus();
        QTest::keyClick(defaultSize, Qt::Key_Return);
        QCOMPARE(s->fontSize()->text(), QStringLiteral("9"));
        QVERIFY(settingsWindow());
        auto* cancel = s->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QTRY_VERIFY(!settingsWindow());
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("9"));

        // Closing by any way stores.
        s = f.open<frmSettings>(f.pad, f.settings, f.prompts);
        s->fontSize()->setText(QStringLiteral("11"));
        s->close();
        QTRY_VERIFY(!settingsWindow());
        QCOMPARE(f.settings.get(Setting::PadFontSize), QStringLiteral("11"));
    }

    void activationRereadsTheFontOnlyFromTheEditorsOwnWindows()
    {
        MainWindowFixture f;
        f.settings.store(Setting::PadFontSize, QStringLiteral("12"));
        frmMain& w = f.show();
        QCOMPARE(padOf(w)->FontSize(), 12.0);   // first shown
        run(w, Cmd::mnuZoomIn);
        QCOMPARE(padOf(w)->FontSize(), 14.0);

        // Another application takes the focus and gives it back: the zoom stays.
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!w.isActiveWindow());
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QCOMPARE(padOf(w)->FontSize(), 14.0);

        // Back from another window of the editor: the settings apply again.
        run(w, Cmd::mnuAbout);
        const QList<frmAbout*> about = openWindows<frmAbout>();
        QCOMPARE(about.size(), 1);
        QTRY_VERIFY(about.first()->isActiveWindow());
        about.first()->close();
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QCOMPARE(padOf(w)->FontSize(), 12.0);
    }

    void sizesAreWrittenWithoutTrailingZeros()
    {
        QCOMPARE(NumberText::format(9.0, QLocale(QLocale::English)), QStringLiteral("9"));
        QCOMPARE(NumberText::format(9.75, QLocale(QLocale::English)), QStringLiteral("9.75"));
        QCOMPARE(NumberText::format(9.5, QLocale(QLocale::German)), QStringLiteral("9,5"));
        QCOMPARE(NumberText::parse(QStringLiteral(" 9,75 "), QLocale(QLocale::German)), std::optional<double>(9.75));
        QCOMPARE(NumberText::parse(QStringLiteral("-1.5e1")), std::optional<double>(-15));
        QCOMPARE(NumberText::parse(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(NumberText::parse(QStringLiteral("1.2.3")), std::nullopt);
        QCOMPARE(NumberText::roundHalfEven(2.5), 2LL);
        QCOMPARE(NumberText::roundHalfEven(3.5), 4LL);
    }
};

QP_REGISTER_TEST(SettingsTest)
#include "SettingsTest.moc"
