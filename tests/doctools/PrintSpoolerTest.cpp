#include "DocToolsSupport.h"
#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "doctools/frmPrint.h"
#include "editor/RichTextBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// Printing through the window onto a real spooler: a private cupsd with a
// PDF queue as its default printer. The print itself runs in a child
// process of this test program, as the print system's client library reads
// the spooler's address from the environment once, at its first use.

namespace {

const char kChildMode[] = "QP_PRINT_CHILD";

QString tool(const QString& name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                                 QStringLiteral("/sbin"), QStringLiteral("/bin")});
}

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

}

class PrintSpoolerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("a private print spooler runs its filters as the user lp: this needs root");
        for (const char* name : {"cupsd", "lpadmin", "lpstat", "unshare", "pdftotext"})
            QVERIFY2(!tool(QLatin1String(name)).isEmpty(), "missing: run scripts/install-deps");
        QVERIFY2(QFile::exists(QStringLiteral("/etc/cups/cups-pdf.conf")), "missing: printer-driver-cups-pdf");

        // Outside the test's own private folder: the spooler's filters run
        // as lp and must reach their spool.
        m_dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/quirkpad-cups-XXXXXX"));
        QVERIFY(m_dir->isValid());
        const QString root = m_dir->path();
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "state", "log", "out", "pdfspool"})
            QVERIFY(QDir(root).mkpath(QLatin1String(sub)));
        // The spool belongs to the group the filters run in.
        const group* lp = getgrnam("lp");
        QVERIFY(lp);
        for (const auto& [sub, mode] : {std::pair{"/spool", 0710}, {"/spool/tmp", 01770}, {"/out", 0777}}) {
            const QByteArray path = QFile::encodeName(root + QLatin1String(sub));
            QCOMPARE(chown(path.constData(), 0, lp->gr_gid), 0);
            QCOMPARE(chmod(path.constData(), mode_t(mode)), 0);
        }

        m_socket = root + QStringLiteral("/cups.sock");
        const QByteArray r = QFile::encodeName(root);
        QVERIFY(writeFile(root + QStringLiteral("/etc/cupsd.conf"),
                          "Listen " + QFile::encodeName(m_socket) + "\nLogLevel warn\nBrowsing No\n"
                          "WebInterface No\nDefaultAuthType None\n"
                          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                          "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                          "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"));
        QVERIFY(writeFile(root + QStringLiteral("/etc/cups-files.conf"),
                          "ServerRoot " + r + "/etc\nRequestRoot " + r + "/spool\nTempDir " + r + "/spool/tmp\n"
                          "CacheDir " + r + "/cache\nStateDir " + r + "/state\nAccessLog " + r + "/log/access_log\n"
                          "ErrorLog " + r + "/log/error_log\nPageLog " + r + "/log/page_log\n"
                          "User lp\nGroup lp\nSystemGroup root\nSandboxing Relaxed\n"));
        // The PDF driver reads its settings from one fixed place: the
        // spooler runs in a mount namespace of its own where that place
        // holds these, so the machine's settings and folders stay untouched.
        QVERIFY(writeFile(root + QStringLiteral("/cups-pdf.conf"),
                          "Out " + r + "/out\nAnonDirName " + r + "/out\nSpool " + r + "/pdfspool\n"
                          "Log " + r + "/log\nLogType 1\nGrp root\n"));

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(tool(QStringLiteral("unshare")),
                      {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private"),
                       QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("mount --bind \"$1\" /etc/cups/cups-pdf.conf && exec \"$2\" -f -c \"$3\" -s \"$4\""),
                       QStringLiteral("sh"), root + QStringLiteral("/cups-pdf.conf"), tool(QStringLiteral("cupsd")),
                       root + QStringLiteral("/etc/cupsd.conf"), root + QStringLiteral("/etc/cups-files.conf")});
        QVERIFY(m_cupsd.waitForStarted());
        QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(m_socket) || m_cupsd.state() == QProcess::NotRunning,
                                  "cupsd did not start", 20000);
        QVERIFY2(m_cupsd.state() == QProcess::Running, m_cupsd.readAll().constData());

        QVERIFY(run(tool(QStringLiteral("lpadmin")),
                    {QStringLiteral("-p"), QStringLiteral("QuirkpadPDF"), QStringLiteral("-E"), QStringLiteral("-v"),
                     QStringLiteral("cups-pdf:/"), QStringLiteral("-P"),
                     QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"),
                     // Ghostscript's PostScript keeps the look but loses the
                     // characters behind the glyphs after the first page;
                     // cairo's keeps them, so the PDF can be read back.
                     QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo")}));
        QVERIFY(run(tool(QStringLiteral("lpadmin")), {QStringLiteral("-d"), QStringLiteral("QuirkpadPDF")}));
    }

    void cleanupTestCase()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(15000))
                m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
        m_dir.reset();
    }

    // Two copies through the window: two jobs, each the whole document on
    // its pages with one inch of margin.
    void printsCopiesThroughTheWindow()
    {
        QVERIFY(child(QStringLiteral("print"), m_socket));
        // Both jobs finished: the spooler holds none that is not completed.
        QTRY_VERIFY_WITH_TIMEOUT(pendingJobs().isEmpty() && pdfs().size() >= 2, 120000);
        QCOMPARE(pdfs().size(), 2);
        QStringList words;
        longDocument(&words);
        for (const QString& pdf : pdfs()) {
            const QList<PdfPage> pages = readPdf(pdf);
            QVERIFY2(pages.size() >= 3, qPrintable(pdf));
            const QString problem = pagesProblem(pages, words, 72);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            // Printed while the Print window disables the main window.
            const QString look = printedLookProblem(pdf);
            QVERIFY2(look.isEmpty(), qPrintable(look));
        }
    }

    void noDefaultPrinterIsSaid()
    {
        QVERIFY(child(QStringLiteral("none"), m_dir->path() + QStringLiteral("/nobody-listens.sock")));
    }

private:
    bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), m_socket);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments);
        const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        const QByteArray out = p.readAll();
        if (output)
            *output = out;
        if (!ok)
            qWarning("%s: %s", qPrintable(program), out.constData());
        return ok;
    }

    QString pendingJobs()
    {
        QByteArray out;
        run(tool(QStringLiteral("lpstat")), {QStringLiteral("-W"), QStringLiteral("not-completed"), QStringLiteral("-o")},
            &out);
        return QString::fromLocal8Bit(out).trimmed();
    }

    QStringList pdfs() const
    {
        QStringList found;
        const QDir out(m_dir->path() + QStringLiteral("/out"));
        for (const QString& name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed))
            found << out.filePath(name);
        return found;
    }

    // Runs PrintSpoolerChild in a fresh copy of this program, with the
    // print system's client pointed at the given socket.
    bool child(const QString& mode, const QString& socket)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket);
        env.insert(QLatin1String(kChildMode), mode);
        env.insert(QStringLiteral("QP_TEST"), QStringLiteral("PrintSpoolerChild"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationFilePath(), {});
        const bool ok = p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        const QByteArray out = p.readAll();
        if (!ok || !out.contains("Totals: 3 passed, 0 failed"))
            qWarning("%s", out.constData());
        return ok && out.contains("Totals: 3 passed, 0 failed");
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_cupsd;
    QString m_socket;
};

// The child's side: the user prints two copies of a long document through
// the window, or finds there is no default printer.
class PrintSpoolerChild : public QObject {
    Q_OBJECT
private slots:
    void printThroughTheWindow()
    {
        const QString mode = qEnvironmentVariable(kChildMode);
        MainWindowFixture f;
        frmMain& w = f.show();
        QStringList words;
        padOf(w)->SetText(longDocument(&words));
        run(w, Cmd::mnuPrint);
        frmPrint* p = openWindows<frmPrint>().value(0);
        QVERIFY(p);
        p->times()->setText(QStringLiteral("2"));
        if (mode == QLatin1String("none"))
            f.prompts.answer(Prompts::Answer::Ok);
        p->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
        if (mode == QLatin1String("none")) {
            QCOMPARE(f.prompts.messages(),
                     QStringList{QStringLiteral("Error:\r\n\"No default printer is set up. Add a printer in the "
                                                "system's printer settings and make it the default.\"")});
        } else {
            QVERIFY(f.prompts.calls.isEmpty());
        }
        QVERIFY(p->isVisible());
    }
};

static const int qp_registered_PrintSpoolerTest = TestRegistry::add("PrintSpoolerTest", [] {
    return new PrintSpoolerTest;
});
// The child's part runs only in the child.
static const int qp_registered_PrintSpoolerChild = qEnvironmentVariableIsSet(kChildMode)
    ? TestRegistry::add("PrintSpoolerChild", [] { return new PrintSpoolerChild; })
    : 0;

#include "PrintSpoolerTest.moc"
