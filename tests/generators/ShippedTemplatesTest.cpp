#include "TestRegistry.h"
#include "generators/TemplateFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kExamples = QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR "/Examples");

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A tool the tests need, installed by scripts/install-deps.
Run run(const QString& tool, const QStringList& arguments, const QByteArray& input)
{
    Run r;
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty()) {
        r.err = tool.toUtf8() + " is not installed: run scripts/install-deps";
        return r;
    }
    QProcess p;
    p.start(path, arguments);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        r.err = tool.toUtf8() + " did not finish";
    else
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err += p.readAllStandardError();
    return r;
}

}

class ShippedTemplatesTest : public QObject {
    Q_OBJECT
private slots:
    // One of each kind of page a hand-coder starts from, in the kinds of
    // file the list shows.
    void eightTemplatesOfTheListedKinds()
    {
        const Result<QStringList> l = TemplateFolder::list(kExamples);
        QVERIFY2(l.ok(), qPrintable(l.error()));
        QCOMPARE(l->size(), 8);
        QSet<QString> kinds;
        for (const QString& name : *l)
            kinds << QFileInfo(name).suffix();
        for (const char* kind : {"html", "htm", "php", "xhtml"})
            QVERIFY2(kinds.contains(QLatin1String(kind)), kind);
    }

    // Each page, as a browser gets it (a PHP page as PHP serves it), is HTML
    // without an error or a warning, declares its language, its character
    // set and a viewport for small screens, and has a title.
    void eachTemplateIsSoundHtml_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : TemplateFolder::list(kExamples).valueOr({}))
            QTest::newRow(qPrintable(name)) << name;
    }

    void eachTemplateIsSoundHtml()
    {
        QFETCH(QString, name);
        QFile file(kExamples + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray page = file.readAll();
        if (name.endsWith(QLatin1String(".php"))) {
            const Run php = run(QStringLiteral("php"), {QStringLiteral("-d"), QStringLiteral("display_errors=stderr")},
                                page);
            QCOMPARE(php.err, QByteArray());
            QCOMPARE(php.exitCode, 0);
            page = php.out;
        }
        const Run tidy = run(QStringLiteral("tidy"), {QStringLiteral("-q"), QStringLiteral("-e")}, page);
        QCOMPARE(tidy.err, QByteArray());
        QCOMPARE(tidy.exitCode, 0);

        const QString text = QString::fromUtf8(page);
        for (const char* pattern : {"^<!DOCTYPE html>", "<html[^>]* lang=\"en\"", "<meta charset=\"utf-8\"",
                                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"",
                                    "<title>[^<]+</title>"})
            QVERIFY2(text.contains(QRegularExpression(QLatin1String(pattern))), pattern);

        if (name.endsWith(QLatin1String(".xhtml"))) {
            // Read as XML too, as a browser reads a page of this kind.
            QXmlStreamReader xml(page);
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("html"))
                    QCOMPARE(xml.namespaceUri(), QLatin1String("http://www.w3.org/1999/xhtml"));
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        }
    }
};

QP_REGISTER_TEST(ShippedTemplatesTest)
#include "ShippedTemplatesTest.moc"
