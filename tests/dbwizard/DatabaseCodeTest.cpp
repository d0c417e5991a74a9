#include "TestRegistry.h"
#include "ExpectedDatabaseCode.h"
#include "dbwizard/DatabaseCode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace DatabaseCode;

namespace {

// Expected texts are written with \n; the code uses CR LF.
QString crlf(const char* text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

PhpFields phpFields(const QString& host, const QString& user, const QString& password, const QString& db,
                    const QString& error, const QString& sql)
{
    return {host, user, password, db, error, sql};
}

// Stands in for PDO in the namespace the generated code is run in: it
// prints what it was given as JSON lines and hands back two rows.
const char* kFakePdo = R"(<?php
namespace Fake;
class PDOException extends \Exception {}
class Statement implements \IteratorAggregate {
    public function execute(): bool { return true; }
    public function getIterator(): \Iterator {
        return new \ArrayIterator([['Field1' => '<b>"Tom" & Jerry</b>'], ['Field1' => null]]);
    }
}
class PDO {
    const ATTR_ERRMODE = 3; const ERRMODE_EXCEPTION = 2; const ATTR_DEFAULT_FETCH_MODE = 19; const FETCH_ASSOC = 2;
    public function __construct($dsn, $user, $password, $options) {
        if ($user === 'refused') throw new PDOException('refused');
        echo json_encode([$dsn, $user, $password, $options[self::ATTR_ERRMODE]], JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES), "\n";
    }
    public function prepare($sql) { echo json_encode([$sql], JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES), "\n"; return new Statement; }
}
?>
)";

QString runPhp(const QString& code)
{
    const QString php = QStandardPaths::findExecutable(QStringLiteral("php"));
    if (php.isEmpty())
        return QStringLiteral("<php-cli missing: run scripts/install-deps>");
    QProcess p;
    p.start(php, {QStringLiteral("-d"), QStringLiteral("display_errors=stderr")});
    p.write(code.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return QStringLiteral("<php did not finish>");
    const QByteArray errors = p.readAllStandardError();
    return errors.isEmpty() ? QString::fromUtf8(p.readAllStandardOutput()) : QStringLiteral("<php: ") + errors + ">";
}

}

class DatabaseCodeTest : public QObject {
    Q_OBJECT
private slots:
    void wholeTexts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        const AspFields aspEmpty{"", "", "", "", "", ""};
        const AspFields aspQuoted{"c\"n", "r", "d", "s", "C:\\My \"Db\".mdb", "SELECT * FROM t WHERE a = \"<&>\""};
        QTest::newRow("ASP defaults") << asp({}) << crlf(kAspDefaults);
        QTest::newRow("ASP all empty") << asp(aspEmpty) << crlf(kAspEmpty);
        QTest::newRow("ASP quotes copied unchanged") << asp(aspQuoted) << crlf(kAspQuoted);
        QTest::newRow("PHP defaults") << php({}) << crlf(kPhpDefaults);
        QString empty = crlf(kPhpDefaults);
        empty.replace(QRegularExpression(QStringLiteral("\"(Host_Name|User_Name|Dbsecret|Database_name|Could not "
                                                        "connect\\.|SELECT \\* FROM table1)\"")),
                      QStringLiteral("\"\""));
        QTest::newRow("PHP all empty") << php(phpFields("", "", "", "", "", "")) << empty;
        QTest::newRow("PDO defaults") << phpPdo({}) << crlf(kPdoDefaults);
    }

    void wholeTexts()
    {
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QCOMPARE(code, expected);
    }

    // Whatever the fields hold, the PDO code runs, hands each value to PDO
    // exactly as typed, and prints the rows escaped for HTML. Run twice: with
    // a stand-in PDO that reports its arguments, and with the real one, whose
    // missing MySQL driver takes the error exit.
    void pdoCodeRunsWithAnyFieldText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("quotes") << "it's \"quoted\"";
        QTest::newRow("backslashes") << "C:\\path\\' \\\\";
        QTest::newRow("trailing backslash") << "ends with \\";
        QTest::newRow("PHP syntax") << "'; system('id'); $x = '{$y} ?> <?php";
        QTest::newRow("markup") << "<b>a & b</b>";
        QTest::newRow("non-Latin") << QStringLiteral("\u0434\u0430\u043d\u043d\u044b\u0435 \u4e2d\u6587");
        QTest::newRow("emoji") << QStringLiteral("\U0001F642\U0001F680");
        QTest::newRow("50 characters") << QString(50, QLatin1Char('x'));
    }

    void pdoCodeRunsWithAnyFieldText()
    {
        QFETCH(QString, text);
        const PhpFields f = phpFields("h" + text, "u" + text, "p" + text, "d" + text, "e" + text, "s" + text);
        const QString code = phpPdo(f);
        const QString ran = runPhp(QString::fromUtf8(kFakePdo) + code);
        const QString expected =
            QString::fromUtf8(QJsonDocument(QJsonArray{"mysql:host=" + f.host + ";dbname=" + f.dbName +
                                                           ";charset=utf8mb4",
                                                       f.username, f.password, 2})
                                  .toJson(QJsonDocument::Compact)) +
            "\n" + QJsonDocument(QJsonArray{f.sql}).toJson(QJsonDocument::Compact) + "\n" +
            "&lt;b&gt;&quot;Tom&quot; &amp; Jerry&lt;/b&gt;<br><br>";
        QCOMPARE(ran, expected);

        // The same code as it will run: no MySQL driver here, so the error exit.
        QCOMPARE(runPhp(code), f.error);
        // And an exception of the connection itself takes it too.
        PhpFields refused = f;
        refused.username = QStringLiteral("refused");
        QCOMPARE(runPhp(QString::fromUtf8(kFakePdo) + phpPdo(refused)), f.error);
    }
};

QP_REGISTER_TEST(DatabaseCodeTest)
#include "DatabaseCodeTest.moc"
