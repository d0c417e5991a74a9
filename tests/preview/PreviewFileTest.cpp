#include "TestRegistry.h"
#include "preview/PreviewFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

}

class PreviewFileTest : public QObject {
    Q_OBJECT
private slots:
    void numberingTakesSmallestFreeNumber()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp1.html");

        // A gap is filled before the numbers go on.
        touch(d + "/Temp1.html");
        touch(d + "/Temp3.html");
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp2.html");

        // Anything of that name is taken: a folder, a link to nothing.
        QVERIFY(QDir(d).mkdir("Temp2.html"));
        QVERIFY(QFile::link(d + "/nowhere", d + "/Temp4.html"));
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp5.html");

        // Plain decimal numbers, no leading zeros; other names do not count.
        for (int n = 5; n <= 9; ++n)
            touch(d + QStringLiteral("/Temp%1.html").arg(n));
        touch(d + "/Temp10.htm");
        touch(d + "/Temp010.html");
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp10.html");
    }

    void writeKeepsTheTextAsUtf8BehindAMark()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/Temp1.html";
        const QByteArray text = QStringLiteral("<p>caf\u00e9 \u20ac \U0001F600</p>\r\nline\n").toUtf8();
        QVERIFY(PreviewFile::write(path, text));
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + text);

        // Rewriting replaces the whole file, also with a shorter text, and
        // leaves nothing else in the folder.
        QVERIFY(PreviewFile::write(path, QByteArrayView("x")));
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBFx"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Temp1.html"});

        // An empty document is an empty page.
        QVERIFY(PreviewFile::write(path, QByteArrayView()));
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF"));
    }

    void writeFailsWhenTheFolderIsGone()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/gone/Temp1.html";
        QString error;
        QVERIFY(!PreviewFile::write(path, QByteArrayView("<p>x</p>"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void writeFailureKeepsThePageThatWasThere()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/Temp1.html";
        QVERIFY(PreviewFile::write(path, QByteArrayView("old")));
        // The page itself is a folder now: the write cannot replace it, and
        // no half-written sibling stays behind.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(dir.path()).mkpath("Temp1.html/inside"));
        QVERIFY(!PreviewFile::write(path, QByteArrayView("new")));
        QVERIFY(!QFile::exists(path + ".part"));
    }
};

QP_REGISTER_TEST(PreviewFileTest)
#include "PreviewFileTest.moc"
