#include "HandPauseTimer.h"
#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/MarkIds.h"
#include "editor/PageLayout.h"
#include "editor/ProblemMarks.h"
#include "editor/RichTextBox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

namespace {

// A view of a document whose problems are marked when the test ends a pause.
struct MarkedView {
    Document doc;
    RichTextBox box{&doc};
    CheckScheduler scheduler{[this] { return doc.snapshot(); }};
    HandPauseTimer* timer = new HandPauseTimer;
    ProblemMarks marks{box, scheduler};

    MarkedView() { scheduler.setTimer(std::unique_ptr<PauseTimer>(timer)); }
    ~MarkedView() { QThreadPool::globalInstance()->waitForDone(); }

    // Ends the pause and waits for Tidy's answer to be marked.
    bool checked()
    {
        const quint64 generation = scheduler.generation();
        QSignalSpy done(&scheduler, &CheckScheduler::checked);
        timer->fire();
        return done.wait(30000) && done.last().at(0).toULongLong() == generation;
    }
    // "W <i>: Warning: ... | Warning: ..." for each mark: its kind, the text
    // it underlines and its messages.
    QStringList described() const
    {
        QStringList out;
        const QByteArray text = doc.snapshot();
        for (const ProblemMarks::Mark& m : marks.marks())
            out << QStringLiteral("%1 %2: %3")
                       .arg(m.severity == TidyCheck::Severity::Error ? QLatin1Char('E') : QLatin1Char('W'))
                       .arg(QString::fromUtf8(text.mid(m.start, m.end - m.start)))
                       .arg(m.messages.join(QStringLiteral(" | ")));
        return out;
    }
    long caret() const { return box.selectionBytes().end; }
    long send(unsigned int message, long w, long l = 0)
    {
        return EngineProbe::of(box).SendScintilla(message, static_cast<unsigned long>(w), l);
    }
    long margin() { return send(QsciScintillaBase::SCI_GETMARGINWIDTHN, MarkIds::kSymbolMargin); }
    // "2E" for an error's mark beside the third line.
    QStringList marginMarks()
    {
        QStringList out;
        for (long line = send(QsciScintillaBase::SCI_MARKERNEXT, 0, ~0L); line >= 0;
             line = send(QsciScintillaBase::SCI_MARKERNEXT, line + 1, ~0L))
            out << QString::number(line)
                       + (send(QsciScintillaBase::SCI_MARKERGET, line) == 1 << MarkIds::kProblemErrorMarker ? 'E' : 'W');
        return out;
    }
};

const QByteArray kBroken = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<div>\n"
                           "<p><b><i>x</b></i></p>\n<p>&bogus; <zz>y</zz></p>\n</body></html>\n";
const QByteArray kFixed = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<div>\n"
                          "<p><b><i>x</i></b></p>\n<p>&amp; <span>y</span></p>\n</div>\n</body></html>\n";

// The pages of a print of the view, as pictures.
QList<QImage> printed(RichTextBox& box, const QString& folder)
{
    const QString pdf = folder + QStringLiteral("/print.pdf");
    {
        PageLayout layout;
        layout.printer().setOutputFormat(QPrinter::PdfFormat);
        layout.printer().setOutputFileName(pdf);
        QPainter painter(&layout.printer());
        if (!layout.print(box, painter))
            return {};
    }
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf,
                                         folder + QStringLiteral("/page")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QList<QImage> pages;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name)) {
        pages << QImage(folder + QLatin1Char('/') + name);
        QFile::remove(folder + QLatin1Char('/') + name);
    }
    return pages;
}

}

class ProblemMarksTest : public QObject {
    Q_OBJECT
private slots:
    // An unclosed and a misnested element, a bad entity and an unknown
    // element: marked after the pause, visited by F8 and Shift+F8, carried
    // along by edits, gone once the page is fixed; never part of the text.
    void marksAPagesProblemsUntilItIsFixed()
    {
        MarkedView v;
        QSignalSpy status(&v.marks, &ProblemMarks::statusChanged);
        v.box.SetTextUtf8(kBroken);
        const bool undoable = v.doc.canUndo();
        const qint64 undoMemory = v.doc.undoMemory();
        QVERIFY(v.described().isEmpty());
        QVERIFY(v.checked());

        const QStringList marks{
            "W <div>: Warning: missing </div>",
            "W <i>: Warning: replacing unexpected b with </b>",
            "W </i>: Warning: inserting implicit <i> | Warning: trimming empty <i>",
            "W &bogus;: Warning: unescaped & or unknown entity \"&bogus\"",
            "E <zz>: Error: <zz> is not recognized!",
            "W <zz>: Warning: discarding unexpected <zz>",
            "W </zz>: Warning: discarding unexpected </zz>",
        };
        QCOMPARE(v.described(), marks);
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("1 error, 7 warnings"));
        QCOMPARE(v.marginMarks(), (QStringList{"2W", "3W", "4E"}));

        // F8 from the top visits each place once, round to the first again;
        // Shift+F8 goes back. The caret's problem is told as it is drawn.
        v.box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v.box));
        auto at = [&](const char* text) { return long(kBroken.indexOf(text)); };
        const QList<long> stops{at("<div>"), at("<i>"), at("</i>"), at("&bogus"), at("<zz>"), at("</zz>"), at("<div>")};
        v.box.selectBytes(0, 0);
        for (const long stop : stops) {
            v.marks.goToNext();
            QCOMPARE(v.caret(), stop);
        }
        v.marks.goToPrevious();
        QCOMPARE(v.caret(), at("</zz>"));
        v.marks.goToPrevious();
        QCOMPARE(v.caret(), at("<zz>"));
        QCOMPARE(v.marks.atCaret(), QStringLiteral("Error: <zz> is not recognized!; Warning: discarding unexpected <zz>"));
        QTRY_COMPARE_WITH_TIMEOUT(status.last().at(1).toString(), v.marks.atCaret(), 30000);
        v.box.selectBytes(0, 0);
        QCOMPARE(v.marks.atCaret(), QString());

        // The text, its undo history and its bytes on disk are the page's.
        QCOMPARE(v.doc.snapshot(), kBroken);
        QCOMPARE(v.doc.canUndo(), undoable);
        QCOMPARE(v.doc.undoMemory(), undoMemory);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QVERIFY(v.doc.save(path).ok());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), kBroken);

        // An edit before them carries the marks along until the next check.
        v.doc.replaceBytes(0, 0, "\n\n");
        QCOMPARE(v.described(), marks);
        QCOMPARE(v.marks.marks().front().start, at("<div>") + 2);

        v.box.SetTextUtf8(kFixed);
        QVERIFY(v.checked());
        QVERIFY(v.described().isEmpty() && v.marginMarks().isEmpty());
        QCOMPARE(status.last().at(0).toString(), QString());
        v.box.selectBytes(5, 5);
        v.marks.goToNext();
        QCOMPARE(v.caret(), 5L);
    }

    // Printed with its marks, a page looks as it does without them.
    void marksStayOutOfThePrintout()
    {
        MarkedView v;
        v.box.SetTextUtf8(kBroken);
        QVERIFY(v.checked());
        QVERIFY(!v.marks.marks().empty());
        QTemporaryDir dir;
        const QList<QImage> marked = printed(v.box, dir.path());
        v.marks.setEnabled(false);
        const QList<QImage> plain = printed(v.box, dir.path());
        QVERIFY(!plain.isEmpty());
        QCOMPARE(marked, plain);
    }

    // Pages are checked: HTML by name, or untitled markup, server pages
    // too; up to the size limit, above which a notice says so once.
    void checksPagesOnly_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<bool>("notice");

        const QStringList zz{"E <zz>: Error: <zz> is not recognized!", "W <zz>: Warning: discarding unexpected <zz>"};
        QTest::newRow("untitled markup") << "" << QByteArray("<p>a <zz>") << true << 1000 << zz << false;
        QTest::newRow("HTML file") << "/x/a.HTM" << QByteArray("<p>a <zz>") << true << 1000 << zz << false;
        QTest::newRow("PHP page: its code is not checked")
            << "/x/a.php" << QByteArray("<?php $a = '<yy>'; ?>\n<p>a <zz>") << true << 1000 << zz << false;
        QTest::newRow("text file") << "/x/a.txt" << QByteArray("<p>a <zz>") << true << 1000 << QStringList{} << false;
        QTest::newRow("XML file") << "/x/a.xml" << QByteArray("<p>a <zz>") << true << 1000 << QStringList{} << false;
        QTest::newRow("untitled text") << "" << QByteArray("a <zz>") << true << 1000 << QStringList{} << false;
        QTest::newRow("option off") << "/x/a.html" << QByteArray("<p>a <zz>") << false << 1000 << QStringList{} << false;
        QTest::newRow("too large") << "/x/a.html" << QByteArray("<p>a <zz>") << true << 8 << QStringList{} << true;
    }
    void checksPagesOnly()
    {
        QFETCH(QString, location);
        QFETCH(QByteArray, text);
        QFETCH(bool, enabled);
        QFETCH(int, limit);
        QFETCH(QStringList, marks);
        QFETCH(bool, notice);

        MarkedView v;
        v.scheduler.setSizeLimit(limit);
        v.marks.setEnabled(enabled);
        QSignalSpy notices(&v.marks, &ProblemMarks::noticeChanged);
        v.doc.setLocation(location);
        v.box.SetTextUtf8(text);
        if (marks.isEmpty()) {
            // Not checked at all, or told too large at once.
            for (int pause = 0; pause < 2; ++pause) {
                v.timer->fire();
                v.box.SetTextUtf8(text + ' ');
            }
            QVERIFY(!v.scheduler.checking());
        } else {
            QVERIFY(v.checked());
        }
        QCOMPARE(v.described(), marks);
        QCOMPARE(v.margin() > 0, !marks.isEmpty());
        QCOMPARE(notices.size(), notice ? 1 : 0);
        QCOMPARE(v.marks.notice().isEmpty(), !notice);

        // Switched off: no marks, no notice, no margin.
        v.marks.setEnabled(false);
        QVERIFY(v.marks.marks().empty());
        QCOMPARE(v.marks.notice(), QString());
        QCOMPARE(v.margin(), 0L);
    }
};

QP_REGISTER_TEST(ProblemMarksTest)
#include "ProblemMarksTest.moc"
