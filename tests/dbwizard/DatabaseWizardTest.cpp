#include "EditorParts.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "dbwizard/DatabaseCode.h"
#include "dbwizard/frmDatabaseWizard.h"
#include "editor/RichTextBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

namespace {

const QString kHelp = QStringLiteral(
    "- DATABASE CONNECTION WIZARD HELP -\r\n\r\nThis Wizard can be used to quickly generate code needed by an ASP or "
    "PHP web page to connect to either a Microsoft Access or MySQL database.\r\n\r\nSimply fill in the fields "
    "required, leaving anything you want to default.");

frmDatabaseWizard* openWizard(EditorParts& f)
{
    return f.open<frmDatabaseWizard>(f.pad, f.prompts);
}

QString page(QWidget* window)
{
    return control<QStackedWidget>(window, QStringLiteral("stkPages"))->currentWidget()->objectName();
}

QString withLineBreaks(QString crlf, const QString& lineBreak)
{
    return crlf.replace(QStringLiteral("\r\n"), lineBreak);
}

}

class DatabaseWizardTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithItsDesignTexts()
    {
        EditorParts f;
        frmDatabaseWizard* z = openWizard(f);
        QVERIFY(z);
        QCOMPARE(z->windowTitle(), QStringLiteral("Quirkpad - Database Connection Wizard"));
        QCOMPARE(page(z), QStringLiteral("fraWiz1"));
        QVERIFY(control<QRadioButton>(z, "optASP")->isChecked());
        const QList<std::pair<QString, QString>> captions{
            {"lblInstructions", "You can use this wizard to generate a connection to a database in a Server-Side "
                                "Language for a web page."},
            {"cmdHelp", "Help"}, {"cmdCancel", "Cancel"}, {"optASP", "ASP (Microsoft Access)"},
            {"optPHP", "PHP (MySQL)"}, {"optPDO", "PHP (PDO)"}, {"cmdNext", "Next >>"},
            {"cmdASP_Back", "<< Back"}, {"cmdASP_Generate", "Generate >>"}, {"cmdPHP_Back", "<< Back"},
            {"cmdPHP_Generate", "Generate >>"}, {"cmdDB_Back", "<< Back"}, {"cmdDB_Insert", "Insert"},
            {"lblASP_conn", "Connection variable:"}, {"lblASP_records", "Records variable:"},
            {"lblASP_DSN", "DSN variable:"}, {"lblASP_SQL", "SQL variable:"}, {"lblASP_DBLocation", "Location:"},
            {"lblASP_SQLCommand", "SQL Command:"}, {"lblPHP_host", "Host name:"}, {"lblPHP_username", "Username:"},
            {"lblPHP_password", "Password:"}, {"lblPHP_DBname", "Database name:"},
            {"lblPHP_error", "Error message:"}, {"lblPHP_SQL", "SQL Command:"}};
        for (const auto& [name, caption] : captions) {
            QWidget* c = control(z, name);
            const QString text = qobject_cast<QLabel*>(c) ? static_cast<QLabel*>(c)->text()
                                                          : static_cast<QAbstractButton*>(c)->text();
            QCOMPARE(text, caption);
        }
        // The fields top to bottom, which is also the order Tab goes through them.
        const QList<std::pair<QString, QString>> fields{
            {"txtASP_conn", "dbConnection"}, {"txtASP_records", "dbRecord"}, {"txtASP_DSN", "dbDSN"},
            {"txtASP_SQL", "dbSQL"}, {"txtASP_DBLocation", "C:\\MyDatabase.mdb"},
            {"txtASP_SQLCommand", "SELECT * FROM table1"}, {"txtPHP_host", "Host_Name"},
            {"txtPHP_username", "User_Name"}, {"txtPHP_password", "Dbsecret"}, {"txtPHP_DBname", "Database_name"},
            {"txtPHP_error", "Could not connect."}, {"txtPHP_SQL", "SELECT * FROM table1"}};
        for (int i = 0; i < fields.size(); ++i) {
            auto* box = control<QLineEdit>(z, fields[i].first);
            QCOMPARE(box->text(), fields[i].second);
            QCOMPARE(box->maxLength(), 50);
            QCOMPARE(box->echoMode(), QLineEdit::Normal);
            QWidget* next = box->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            if (i % 6 != 5)
                QCOMPARE(next, control(z, fields[i + 1].first));
        }
        QVERIFY(control<QPlainTextEdit>(z, "txtDB_Code")->toPlainText().isEmpty());
        QVERIFY(control(z, "Line1") && control(z, "Line2"));
    }

    void pagesFollowTheChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("code");
        const QString asp = DatabaseCode::asp({}), php = DatabaseCode::php({}), pdo = DatabaseCode::phpPdo({});
        auto row = [](const char* name, const char* option, const char* clicks, const char* page, QString code) {
            QTest::newRow(name) << option << QString(clicks).split(' ') << page << code;
        };
        row("ASP fields", "optASP", "cmdNext", "fraASP1", "");
        row("PHP fields", "optPHP", "cmdNext", "fraPHP1", "");
        row("PDO uses the PHP fields", "optPDO", "cmdNext", "fraPHP1", "");
        row("back from ASP", "optASP", "cmdNext cmdASP_Back", "fraWiz1", "");
        row("back from PHP", "optPHP", "cmdNext cmdPHP_Back", "fraWiz1", "");
        row("ASP code", "optASP", "cmdNext cmdASP_Generate", "fraWiz2", asp);
        row("PHP code", "optPHP", "cmdNext cmdPHP_Generate", "fraWiz2", php);
        row("PDO code", "optPDO", "cmdNext cmdPHP_Generate", "fraWiz2", pdo);
        row("back from ASP code", "optASP", "cmdNext cmdASP_Generate cmdDB_Back", "fraASP1", asp);
        row("back from PHP code", "optPHP", "cmdNext cmdPHP_Generate cmdDB_Back", "fraPHP1", php);
        row("back from PDO code", "optPDO", "cmdNext cmdPHP_Generate cmdDB_Back", "fraPHP1", pdo);
        row("code made again", "optPDO", "cmdNext cmdPHP_Generate cmdDB_Back cmdPHP_Back optASP cmdNext "
            "cmdASP_Generate", "fraWiz2", asp);
    }

    void pagesFollowTheChoice()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, clicks);
        QFETCH(QString, page);
        QFETCH(QString, code);
        EditorParts f;
        frmDatabaseWizard* z = openWizard(f);
        click(z, option);
        for (const QString& name : clicks)
            click(z, name);
        QCOMPARE(::page(z), page);
        for (const char* name : {"fraWiz1", "fraASP1", "fraPHP1", "fraWiz2"})
            QCOMPARE(control(z, name)->isVisible(), name == page);
        QCOMPARE(control<QPlainTextEdit>(z, "txtDB_Code")->toPlainText(), withLineBreaks(code, "\n"));
        // Help on any page leaves the page as it is.
        f.prompts.answer(Prompts::Answer::Ok);
        click(z, "cmdHelp");
        QCOMPARE(f.prompts.messages(), QStringList{kHelp});
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Information);
        QCOMPARE(::page(z), page);
    }

    // The code goes in by the insertion rule: over the selection or at the
    // caret, in the document's line breaks, one undo step, caret behind it.
    void insertGoesInAtTheCaret_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("lineBreak");
        QTest::newRow("CR LF, at the caret") << QByteArray("<p>\r\n</p>\r\n") << 5 << 0 << "optASP" << "\r\n";
        QTest::newRow("CR LF, over a selection") << QByteArray("<p>\r\nold\r\n</p>") << 5 << 3 << "optPHP" << "\r\n";
        QTest::newRow("LF, at the caret") << QByteArray("<p>\n</p>\n") << 4 << 0 << "optPDO" << "\n";
        QTest::newRow("LF, over a selection") << QByteArray("<p>\nold\n</p>") << 4 << 5 << "optASP" << "\n";
    }

    void insertGoesInAtTheCaret()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, option);
        QFETCH(QString, lineBreak);
        EditorParts f;
        const QString path = f.file(QStringLiteral("page.asp"), file);
        QVERIFY(f.files.loadAsDocument(path));
        const QString before = f.pad.Text();
        f.pad.SetSelStart(start);
        f.pad.SetSelLength(length);

        frmDatabaseWizard* z = openWizard(f);
        click(z, option);
        click(z, QStringLiteral("cmdNext"));
        click(z, option == "optASP" ? QStringLiteral("cmdASP_Generate") : QStringLiteral("cmdPHP_Generate"));
        click(z, QStringLiteral("cmdDB_Insert"));

        const QString code = withLineBreaks(option == "optASP"   ? DatabaseCode::asp({})
                                            : option == "optPHP" ? DatabaseCode::php({})
                                                                 : DatabaseCode::phpPdo({}),
                                            lineBreak);
        QCOMPARE(f.pad.Text(), before.left(start) + code + before.mid(start + length));
        QCOMPARE(f.pad.SelStart(), start + code.size());
        QCOMPARE(f.pad.SelLength(), 0);
        QTRY_VERIFY(openWindows<frmDatabaseWizard>().isEmpty());   // Insert closes it
        // An ordinary edit: the document keeps its name and counts as changed.
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.location(), path);
        f.pad.Undo();
        QCOMPARE(f.pad.Text(), before);
    }

    // Any text, up to 50 characters, reaches its own place in the code and
    // nowhere else; more is cut at 50. Back and forth keeps what was typed.
    void fieldsTakeAnyText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks") << "   " << "   ";
        QTest::newRow("quotes") << "a \"b\" 'c'" << "a \"b\" 'c'";
        QTest::newRow("markup") << "<a href=\"x\">&amp;</a>" << "<a href=\"x\">&amp;</a>";
        QTest::newRow("non-Latin") << QStringLiteral("\u0411\u0430\u0437\u0430 \u6570\u636e")
                                   << QStringLiteral("\u0411\u0430\u0437\u0430 \u6570\u636e");
        QTest::newRow("emoji") << QStringLiteral("\U0001F642 db") << QStringLiteral("\U0001F642 db");
        QTest::newRow("50 characters") << QString(50, 'x') << QString(50, 'x');
        QTest::newRow("60 characters") << QString(50, 'y') + QString(10, 'z') << QString(50, 'y');
    }

    void fieldsTakeAnyText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        using namespace DatabaseCode;
        const QList<std::pair<const char*, QString AspFields::*>> asp{
            {"txtASP_conn", &AspFields::conn}, {"txtASP_records", &AspFields::records},
            {"txtASP_DSN", &AspFields::dsn}, {"txtASP_SQL", &AspFields::sql},
            {"txtASP_DBLocation", &AspFields::dbLocation}, {"txtASP_SQLCommand", &AspFields::sqlCommand}};
        const QList<std::pair<const char*, QString PhpFields::*>> php{
            {"txtPHP_host", &PhpFields::host}, {"txtPHP_username", &PhpFields::username},
            {"txtPHP_password", &PhpFields::password}, {"txtPHP_DBname", &PhpFields::dbName},
            {"txtPHP_error", &PhpFields::error}, {"txtPHP_SQL", &PhpFields::sql}};
        EditorParts f;
        frmDatabaseWizard* z = openWizard(f);
        auto enter = [&](const char* name) {
            auto* box = control<QLineEdit>(z, name);
            box->selectAll();
            box->insert(typed);   // as a paste: the limit applies
        };
        auto generated = [&](const char* option, const char* generate) {
            click(z, option);
            click(z, "cmdNext");
            click(z, generate);
            const QString code = control<QPlainTextEdit>(z, "txtDB_Code")->toPlainText();
            click(z, "cmdDB_Back");
            click(z, generate[3] == 'A' ? "cmdASP_Back" : "cmdPHP_Back");
            return code;
        };
        for (const auto& [name, member] : asp) {
            enter(name);
            AspFields expected;
            expected.*member = kept;
            QCOMPARE(generated("optASP", "cmdASP_Generate"), withLineBreaks(DatabaseCode::asp(expected), "\n"));
            control<QLineEdit>(z, name)->setText(AspFields().*member);
        }
        for (const auto& [name, member] : php) {
            enter(name);
            PhpFields expected;
            expected.*member = kept;
            QCOMPARE(generated("optPHP", "cmdPHP_Generate"), withLineBreaks(DatabaseCode::php(expected), "\n"));
            QCOMPARE(generated("optPDO", "cmdPHP_Generate"), withLineBreaks(DatabaseCode::phpPdo(expected), "\n"));
            QCOMPARE(control<QLineEdit>(z, name)->text(), kept);
            control<QLineEdit>(z, name)->setText(PhpFields().*member);
        }
    }

    // What the user changed in the code box is what goes in; untouched, the
    // code goes in exactly as made, characters the box would alter included.
    void insertTakesTheCodeAsShown_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inserted");
        const QString nbsp = QStringLiteral("a\u00a0b");
        QTest::newRow("untouched") << nbsp << "" << DatabaseCode::asp({nbsp});
        QTest::newRow("edited") << nbsp << "' end"
                                << DatabaseCode::asp({nbsp}).replace("%>", "%>' end\r\nnext");
    }

    void insertTakesTheCodeAsShown()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, inserted);
        EditorParts f;
        frmDatabaseWizard* z = openWizard(f);
        click(z, "cmdNext");
        control<QLineEdit>(z, "txtASP_conn")->setText(field);
        click(z, "cmdASP_Generate");
        if (!typed.isEmpty()) {
            auto* code = control<QPlainTextEdit>(z, "txtDB_Code");
            code->moveCursor(QTextCursor::End);
            QTest::keyClicks(code, typed);
            QTest::keyClick(code, Qt::Key_Return);
            QTest::keyClicks(code, "next");
        }
        click(z, "cmdDB_Insert");
        QCOMPARE(f.pad.Text(), inserted);
    }
};

QP_REGISTER_TEST(DatabaseWizardTest)
#include "DatabaseWizardTest.moc"
