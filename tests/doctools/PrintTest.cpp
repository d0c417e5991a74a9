#include "DocToolsSupport.h"
#include "EditorParts.h"
#include "TestRegistry.h"
#include "doctools/frmPrint.h"
#include "doctools/modPrint.h"
#include "editor/RichTextBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using Answer = Prompts::Answer;

constexpr double kInch = 72;   // points

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    // One job per call, laid out by the editing control page after page,
    // every page with one inch of paper left free on each side.
    void pagesWithinOneInchMargins_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("minPages");
        QTest::newRow("empty document: one empty page") << QString() << QStringList() << 1;
        QTest::newRow("three lines") << "alpha\r\nbeta & <gamma>\r\n\"delta\"" << QStringList{
            "alpha", "beta", "&", "<gamma>", "\"delta\""} << 1;
        QStringList words;
        const QString text = longDocument(&words);
        QTest::newRow("long document") << text << words << 3;
    }
    void pagesWithinOneInchMargins()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(int, minPages);
        QTemporaryDir out;
        PdfPrinterService pdf(out.path());
        RichTextBox box;
        box.SetText(text);
        const Result<> printed = modPrint::PrintRichText(box, pdf, 1440, 1440, 1440, 1440);
        QVERIFY2(printed.ok(), qPrintable(printed.error()));
        QCOMPARE(pdf.files().size(), 1);
        const QList<PdfPage> pages = readPdf(pdf.files().first());
        QVERIFY(pages.size() >= minPages);
        if (words.isEmpty())
            QCOMPARE(pages.size(), 1);

        const QString problem = pagesProblem(pages, words, kInch);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The typed count: each copy a job of its own; what is no count is said.
    void copies_data()
    {
        QTest::addColumn<QString>("typed");   // null: the initial "1"
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<QString>("message");
        QTest::newRow("initial 1") << QString() << 0 << 1 << QString();
        QTest::newRow("2") << "2" << 0 << 2 << QString();
        QTest::newRow("2.5 gives three") << "2.5" << 0 << 3 << QString();
        QTest::newRow("1.5 gives one") << "1.5" << 0 << 1 << QString();
        QTest::newRow("999, the most three characters hold") << "999" << 0 << 999 << QString();
        QTest::newRow("0") << "0" << 0 << 0 << QString();
        QTest::newRow("-3") << "-3" << 0 << 0 << QString();
        QTest::newRow("empty") << "" << 0 << 0
                               << "Please select the number of times you wish to print this document.";
        QTest::newRow("abc") << "abc" << 0 << 0 << "Error:\r\n\"Type mismatch\"";
        QTest::newRow("1e5 overflows") << "1e5" << 0 << 0 << "Error:\r\n\"Overflow\"";
        QTest::newRow("3, the second fails") << "3" << 2 << 1 << "Error:\r\n\"The printer is out of paper.\"";
        QTest::newRow("no printer") << "1" << 1 << 0 << "Error:\r\n\"The printer is out of paper.\"";
    }
    void copies()
    {
        QFETCH(QString, typed);
        QFETCH(int, failAt);
        QFETCH(int, jobs);
        QFETCH(QString, message);
        QTemporaryDir out;
        PdfPrinterService pdf(out.path());
        pdf.failAt = failAt;
        EditorParts f;
        f.pad.SetText(QStringLiteral("hello world"));
        frmPrint* p = f.open<frmPrint>(f.pad, pdf, f.prompts);
        if (!typed.isNull()) {
            p->times()->clear();
            QTest::keyClicks(p->times(), typed);
        }
        if (!message.isEmpty())
            f.prompts.answer(Answer::Ok);
        p->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();

        QCOMPARE(f.prompts.messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.prompts.calls.last().icon, message.startsWith(QLatin1String("Error:"))
                                                      ? Prompts::Icon::Error : Prompts::Icon::Information);
        QStringList files = pdf.files();
        QCOMPARE(files.size(), jobs);
        // Every copy is read back, but of many only the first and the last.
        if (files.size() > 3)
            files = QStringList{files.first(), files.last()};
        for (const QString& file : files) {
            const QList<PdfPage> pages = readPdf(file);
            QCOMPARE(pages.size(), 1);
            QCOMPARE(pages.first().text(), QStringLiteral("hello world"));
        }
        QVERIFY(p->isVisible());
        QCOMPARE(f.pad.Text(), QStringLiteral("hello world"));
        QVERIFY(f.doc.isModified());
    }

    void opensWithItsDesignTexts()
    {
        EditorParts f;
        PdfPrinterService pdf(f.dir.path());
        frmPrint* p = f.open<frmPrint>(f.pad, pdf, f.prompts);
        QCOMPARE(p->windowTitle(), QStringLiteral("Quirkpad - Print Document"));
        QCOMPARE(p->times()->text(), QStringLiteral("1"));
        QCOMPARE(p->times()->maxLength(), 3);
    }
};

QP_REGISTER_TEST(PrintTest)
#include "PrintTest.moc"
