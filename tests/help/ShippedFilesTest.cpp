#include "TestRegistry.h"
#include "shell/CommandTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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

// Runs a program to its end: whether it succeeded, and what it printed.
std::pair<bool, QByteArray> run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(120000))
        return {false, program.toUtf8() + " did not run: " + p.errorString().toUtf8() + " (see scripts/install-deps)"};
    return {p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAll()};
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
        const QString tree = prefix.path();
        const QList<std::pair<QString, QStringList>> steps{
            {"cmake", {"--install", QUIRKPAD_BINARY_DIR, "--component", "desktop", "--prefix", tree}},
            {"appstreamcli", {"validate-tree", "--no-net", tree}},
            {"desktop-file-validate", {tree + "/share/applications/quirkpad.desktop"}}};
        for (const auto& [program, arguments] : steps) {
            const auto [ok, out] = run(program, arguments);
            QVERIFY2(ok && !out.contains("can be extended"), out.constData());
        }
        QCOMPARE(QDir(tree + "/share/metainfo").entryList({"*.metainfo.xml"}, QDir::Files).size(), 1);
    }
};

QP_REGISTER_TEST(ShippedFilesTest)
#include "ShippedFilesTest.moc"
