#include "EditorParts.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "generators/PictureBox.h"
#include "generators/WebPage.h"
#include "generators/frmWebPageWizard.h"
#include "editor/RichTextBox.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kImageFilter = QStringLiteral(
    "All Files (*.*)|*.*|All Images|*.gif;*.jpeg;*.jpg;*.bmp;*.png|GIF Files (*.gif)|*.gif|JPEG Files (*.jpeg / "
    "*.jpg)|*.jpeg;*.jpg|Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png");

}

class WebPageWizardTest : public QObject {
    Q_OBJECT
private slots:
    // Ticking the box opens the redirect fields as they are; the page gets
    // the refresh line only while it is ticked.
    void jumpBoxSwitchesTheRedirect()
    {
        EditorParts f;
        auto* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
        auto* jump = control<QCheckBox>(wizard, "chkJump");
        auto* url = control<QLineEdit>(wizard, "txtMetaJumpURL");
        const char* redirect[] = {"lblMetaJumpURL", "txtMetaJumpURL", "lblMetaJumpDelay", "txtMetaJumpDelay",
                                  "lblMetaJumpSeconds"};
        for (const char* name : redirect)
            QVERIFY2(!control(wizard, name)->isEnabled(), name);
        jump->click();
        for (const char* name : redirect)
            QVERIFY2(control(wizard, name)->isEnabled(), name);
        url->setText(QStringLiteral("http://example.com/"));
        jump->click();
        QVERIFY(!url->isEnabled());
        QCOMPARE(url->text(), QStringLiteral("http://example.com/"));
        QCOMPARE(wizard->fields().jump, false);
        jump->click();
        control<QPushButton>(wizard, "cmdApply")->click();
        QVERIFY(f.pad.Text().contains(
            QStringLiteral("\r\n<meta http-equiv=\"refresh\" content=\"0;url=http://example.com/\">\r\n</head>")));
    }

    // Cancel leaves what was typed; a chosen colour is written as colour
    // text into the field beside the button and lands in its attribute; the
    // next dialog starts from the colour chosen last.
    void customColours_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("attribute");
        QTest::newRow("background") << "cmdBGCol" << "txtBGCol" << " bgcolor=\"#FF8000\"";
        QTest::newRow("text") << "cmdTextCol" << "txtTextCol" << " text=\"#FF8000\"";
        QTest::newRow("link") << "cmdLinkCol" << "txtLinkCol" << " link=\"#FF8000\"";
        QTest::newRow("visited") << "cmdVisitedCol" << "txtVisitedCol" << " vlink=\"#FF8000\"";
        QTest::newRow("active") << "cmdActiveCol" << "txtActiveCol" << " alink=\"#FF8000\"";
    }

    void customColours()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, attribute);
        EditorParts f;
        auto* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
        auto* custom = control<QPushButton>(wizard, qPrintable(button));
        auto* box = control<QLineEdit>(wizard, qPrintable(field));
        box->setText(QStringLiteral("navy"));

        f.prompts.answerColour(std::nullopt);
        custom->click();
        QCOMPARE(box->text(), QStringLiteral("navy"));
        f.prompts.answerColour(QColor(255, 128, 0));
        custom->click();
        QCOMPARE(box->text(), QStringLiteral("#FF8000"));
        f.prompts.answerColour(std::nullopt);
        custom->click();
        QCOMPARE(box->text(), QStringLiteral("#FF8000"));

        QStringList started;
        for (const auto& call : f.prompts.calls)
            started << call.text;
        QCOMPARE(started, (QStringList{"#000000", "#000000", "#ff8000"}));
        control<QPushButton>(wizard, "cmdApply")->click();
        QVERIFY(f.pad.Text().contains(attribute));
        QCOMPARE(f.prompts.pending(), 0);
    }

    void fileChoosers_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("style sheet") << "cmdFindCSS" << "txtCSS" << "Quirkpad - Find CSS File"
                                     << "All Files (*.*)|*.*|CSS Documents (*.css)|*.css";
        QTest::newRow("background image") << "cmdImgFind" << "txtBGImg" << "Quirkpad - Find Image" << kImageFilter;
    }

    void fileChoosers()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        EditorParts f;
        f.settings.store(Setting::LastDir, QStringLiteral("/start/here/"));
        auto* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
        auto* find = control<QPushButton>(wizard, qPrintable(button));
        auto* box = control<QLineEdit>(wizard, qPrintable(field));
        box->setText(QStringLiteral("typed"));

        f.prompts.answerOpen(std::nullopt);
        find->click();
        QCOMPARE(box->text(), QStringLiteral("typed"));
        QCOMPARE(f.settings.get(Setting::LastDir), QStringLiteral("/start/here/"));

        f.prompts.answerOpen(QStringLiteral("/web/site/style one.css"));
        find->click();
        QCOMPARE(box->text(), QStringLiteral("/web/site/style one.css"));
        QCOMPARE(f.settings.get(Setting::LastDir), QStringLiteral("/web/site/"));

        for (const auto& call : f.prompts.calls) {
            QCOMPARE(call.dialog.title, title);
            QCOMPARE(call.dialog.filter, filter);
            QCOMPARE(call.dialog.filterIndex, 1);
            QCOMPARE(call.dialog.initDir, QStringLiteral("/start/here/"));
            QVERIFY(call.dialog.mustExist);
        }
        QCOMPARE(f.prompts.calls.size(), 2);
    }

    // The preview shows what Qt's image reader makes of the named file; a
    // failure shows the reader's own words and keeps the picture shown.
    void displayImage_data()
    {
        QTest::addColumn<QString>("name");        // "good" names a real picture
        QTest::addColumn<QString>("message");     // "" for none
        QTest::addColumn<QSize>("shown");         // the picture's size afterwards, empty when cleared
        QTest::newRow("a picture") << "good" << "" << QSize(40, 30);
        QTest::newRow("empty name clears") << "" << "" << QSize();
        QTest::newRow("missing file") << "missing.png" << "Error:\r\n\"File not found\"" << QSize(24, 16);
        QTest::newRow("not a picture") << "notes.png" << "Error:\r\n\"Unsupported image format\"" << QSize(24, 16);
        QTest::newRow("a folder") << "." << "Error:\r\n\"File not found\"" << QSize(24, 16);
    }

    void displayImage()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QSize, shown);
        EditorParts f;
        QImage(24, 16, QImage::Format_RGB32).save(f.dir.filePath(QStringLiteral("first.png")));
        QImage(40, 30, QImage::Format_RGB32).save(f.dir.filePath(QStringLiteral("good.png")));
        f.file(QStringLiteral("notes.png"), "<p>not a picture</p>");
        auto* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
        auto* box = control<QLineEdit>(wizard, "txtBGImg");
        auto* show = control<QPushButton>(wizard, "cmdShowImage");
        auto* picture = control<PictureBox>(wizard, "imgBGImage");
        box->setText(f.dir.filePath(QStringLiteral("first.png")));
        show->click();
        QCOMPARE(picture->picture().size(), QSize(24, 16));

        if (!message.isEmpty())
            f.prompts.answer(Prompts::Answer::Ok);
        box->setText(name.isEmpty() ? name : f.dir.filePath(name == "good" ? QStringLiteral("good.png") : name));
        show->click();
        QCOMPARE(f.prompts.messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Error);
        QCOMPARE(picture->picture().isNull() ? QSize() : picture->picture().size(), shown);
        QVERIFY(wizard->isVisible());
        QCOMPARE(f.prompts.pending(), 0);
    }

    // Whatever is typed into any field goes into the page as it stands,
    // each value in its own place.
    void anyTextInEveryField_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("quotes") << "\"it's\"";
        QTest::newRow("markup") << "<a href=\"x\">&amp;</a> & < >";
        QTest::newRow("50 characters") << QString(50, QLatin1Char('w'));
        QTest::newRow("non-Latin") << QStringLiteral("Ελληνικά 中文 עברית");
        QTest::newRow("emoji") << QStringLiteral("🙂👍🏽🇩🇪");
        QTest::newRow("no-break space") << QStringLiteral("a\u00A0b");
    }

    void anyTextInEveryField()
    {
        QFETCH(QString, value);
        EditorParts f;
        auto* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
        control<QCheckBox>(wizard, "chkJump")->click();
        WebPageFields expected;
        expected.jump = true;
        const struct {
            const char* name;
            QString WebPageFields::*field;
        } fields[] = {
            {"txtTitle", &WebPageFields::title},          {"txtMetaDesc", &WebPageFields::metaDesc},
            {"txtMetaAuthor", &WebPageFields::metaAuthor}, {"txtMetaKeyWords", &WebPageFields::metaKeyWords},
            {"txtCSS", &WebPageFields::css},              {"txtBGCol", &WebPageFields::bgCol},
            {"txtTextCol", &WebPageFields::textCol},      {"txtLinkCol", &WebPageFields::linkCol},
            {"txtVisitedCol", &WebPageFields::visitedCol}, {"txtActiveCol", &WebPageFields::activeCol},
            {"txtBGImg", &WebPageFields::bgImg},          {"txtMetaJumpURL", &WebPageFields::jumpUrl},
            {"txtMetaJumpDelay", &WebPageFields::jumpDelay}, {"txtContent", &WebPageFields::content},
        };
        for (const auto& field : fields) {
            // Each field its own text, so that a value in the wrong place shows.
            const QString text = value.isEmpty() ? value : value + QLatin1String(field.name);
            QWidget* c = control(wizard, field.name);
            c->setFocus();
            if (auto* line = qobject_cast<QLineEdit*>(c)) {
                line->selectAll();
                line->insert(text);
            } else {
                auto* box = qobject_cast<QPlainTextEdit*>(c);
                box->selectAll();
                box->insertPlainText(text);
            }
            expected.*field.field = text;
        }
        control<QPushButton>(wizard, "cmdApply")->click();
        QCOMPARE(f.pad.Text(), WebPage::build(expected));
    }
};

QP_REGISTER_TEST(WebPageWizardTest)
#include "WebPageWizardTest.moc"
