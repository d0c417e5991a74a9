#include "TestRegistry.h"
#include "shell/CommandTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kData = QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR);

// Runs a program to its end; what it printed goes to *output.
bool run(const QString& program, const QStringList& arguments, QByteArray* output)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        *output = program.toUtf8() + " is missing: run scripts/install-deps";
        return false;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(path, arguments);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    *output = p.readAll();
    return ok;
}

}

class ShippedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void licenceIsTheGplShippedTwice()
    {
        const QByteArray shipped = readBytes(kData + QStringLiteral("/Files/License Agreement.txt"));
        const QByteArray root = readBytes(kData + QStringLiteral("/../LICENSE"));
        QVERIFY(!shipped.isEmpty());
        QCOMPARE(shipped, root);
        QVERIFY(shipped.contains("GPL-3.0-or-later"));
        QVERIFY(shipped.contains("GNU GENERAL PUBLIC LICENSE\n                       Version 3, 29 June 2007"));
        QVERIFY(shipped.contains("END OF TERMS AND CONDITIONS"));
        QVERIFY(shipped.contains("How to Apply These Terms to Your New Programs"));
    }

    // The interface page documents the window as the command table builds
    // it: every menu item, context item and toolbar tooltip by its caption,
    // every shortcut.
    void interfacePageCoversEveryCommand()
    {
        const QString html = QString::fromUtf8(readBytes(kData + QStringLiteral("/Interface.html")));
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        // Self-contained: nothing is fetched from elsewhere.
        QVERIFY(!html.contains(QRegularExpression(QStringLiteral("(src|href)\\s*=\\s*\"(?!#)"))));
        QVERIFY(!html.contains(QStringLiteral("@import")));
        QVERIFY(!html.contains(QStringLiteral("url(")));

        const QString page = QTextDocumentFragment::fromHtml(html).toPlainText();
        QStringList missing;
        auto need = [&](const QString& what) {
            if (!what.isEmpty() && !page.contains(what))
                missing << what;
        };
        for (const auto& row : CommandTable::menuRows()) {
            need(QString::fromUtf8(row.caption));
            need(QString::fromUtf8(row.shortcut));
        }
        for (const auto& row : CommandTable::contextRows()) {
            need(QString::fromUtf8(row.caption));
            need(QString::fromUtf8(row.shortcutLabel));
        }
        for (const auto& row : CommandTable::toolRows())
            need(QString::fromUtf8(row.tooltip));
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    // Installed, the program is one software centres list: its AppStream
    // metadata passes the validator (offline) together with the desktop
    // entry it names, and the entry passes its own, each category beside
    // the main one it belongs under.
    void desktopEntryAndMetadataInstallValid()
    {
        QTemporaryDir prefix;
        QByteArray out;
        QVERIFY2(run(QStringLiteral("cmake"),
                     {QStringLiteral("--install"), QStringLiteral(QUIRKPAD_BINARY_DIR), QStringLiteral("--component"),
                      QStringLiteral("desktop"), QStringLiteral("--prefix"), prefix.path()},
                     &out),
                 out.constData());
        const QDir metainfo(prefix.filePath(QStringLiteral("share/metainfo")));
        QCOMPARE(metainfo.entryList({QStringLiteral("*.metainfo.xml")}, QDir::Files).size(), 1);
        QVERIFY2(run(QStringLiteral("appstreamcli"), {QStringLiteral("validate-tree"), QStringLiteral("--no-net"),
                                                      prefix.path()}, &out),
                 out.constData());
        QVERIFY2(run(QStringLiteral("desktop-file-validate"),
                     {prefix.filePath(QStringLiteral("share/applications/quirkpad.desktop"))}, &out),
                 out.constData());
        QVERIFY2(!out.contains("can be extended"), out.constData());
    }
};

QP_REGISTER_TEST(ShippedFilesTest)
#include "ShippedFilesTest.moc"
