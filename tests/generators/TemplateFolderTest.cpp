#include "TestRegistry.h"
#include "generators/TemplateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TemplateFolderTest : public QObject {
    Q_OBJECT
private slots:
    // Files of the listed kinds only (extensions in any case), folders left
    // out, in name order without regard to case.
    void listsTheTemplatesByName_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("every kind") << QStringList{"f.xhtml", "e.xml", "d.php", "c.aspx", "b.asp", "a.htm", "g.html"}
                                    << QStringList{"a.htm", "b.asp", "c.aspx", "d.php", "e.xml", "f.xhtml", "g.html"};
        QTest::newRow("other kinds left out")
            << QStringList{"style.css", "notes.txt", "page.html", "page.html.bak", "logo.png", "html", "x.shtml"}
            << QStringList{"page.html"};
        QTest::newRow("case-blind order") << QStringList{"beta.html", "Alpha.html", "gamma.HTML", "ALPHA2.htm"}
                                          << QStringList{"Alpha.html", "ALPHA2.htm", "beta.html", "gamma.HTML"};
        QTest::newRow("names differing in case alone") << QStringList{"b.html", "B.html", "a.PHP"}
                                                       << QStringList{"a.PHP", "B.html", "b.html"};
        QTest::newRow("a folder named like a page") << QStringList{"dir.html/", "page.htm"} << QStringList{"page.htm"};
        QTest::newRow("nothing to list") << QStringList{"readme.txt"} << QStringList{};
    }

    void listsTheTemplatesByName()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const QString& name : files) {
            if (name.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(dir.path()).mkdir(name));
                continue;
            }
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const Result<QStringList> l = TemplateFolder::list(dir.path());
        QVERIFY(l.ok());
        QCOMPARE(l.error(), QString());
        QCOMPARE(*l, listed);
    }

    void aMissingFolderIsAnError()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("Examples"));
        const Result<QStringList> l = TemplateFolder::list(missing);
        QVERIFY(!l.ok());
        QCOMPARE(l.error(), QStringLiteral("Path not found: ") + missing);
    }
};

QP_REGISTER_TEST(TemplateFolderTest)
#include "TemplateFolderTest.moc"
