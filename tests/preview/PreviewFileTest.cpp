#include "TestRegistry.h"
#include "preview/PreviewFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PreviewFileTest : public QObject {
    Q_OBJECT
private slots:
    void numberingTakesTheSmallestFreeNumber()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        auto touch = [&](const QString& name) { QVERIFY(QFile(d + name).open(QIODevice::WriteOnly)); };
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp1.html");

        // A gap is filled before the numbers go on.
        touch("/Temp1.html");
        touch("/Temp3.html");
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp2.html");

        // Anything of that name is taken, a folder or a link to nothing too;
        // names that only look alike are not.
        QVERIFY(QDir(d).mkdir("Temp2.html"));
        QVERIFY(QFile::link(d + "/nowhere", d + "/Temp4.html"));
        for (int n = 5; n <= 9; ++n)
            touch(QStringLiteral("/Temp%1.html").arg(n));
        touch("/Temp10.htm");
        touch("/Temp010.html");
        QCOMPARE(PreviewFile::nextFreePath(d), d + "/Temp10.html");
    }
};

QP_REGISTER_TEST(PreviewFileTest)
#include "PreviewFileTest.moc"
