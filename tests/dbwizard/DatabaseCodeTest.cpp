#include "TestRegistry.h"
#include "dbwizard/DatabaseCode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace DatabaseCode;

namespace {

const QString Q = QStringLiteral("\"");

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

// Stands in for the mysql_* functions (gone since PHP 7): each call is
// printed as a JSON line; the host "down" refuses the connection, and the
// query has two rows.
const char* kFakeMysql = R"(<?php
function logged(...$call) { echo json_encode($call, JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES), "\n"; }
function mysql_connect($host, $user, $password) {
    logged('connect', $host, $user, $password);
    return $host === 'down' ? false : 'link';
}
function mysql_select_db($name) { logged('select', $name); return true; }
function mysql_query($sql) { logged('query', $sql); return 'result'; }
function mysql_num_rows($result) { return 2; }
function mysql_result($result, $row, $field) { return "$field of row $row"; }
function mysql_free_result($result) { logged('free', $result); }
function mysql_close($link) { logged('close', $link); }
?>
)";

// The output of PHP code, short open tags ("<?") included, or what PHP said
// was wrong with it.
QString runPhp(const QString& code)
{
    const QString php = QStandardPaths::findExecutable(QStringLiteral("php"));
    if (php.isEmpty())
        return QStringLiteral("<php-cli missing: run scripts/install-deps>");
    QProcess p;
    p.start(php, {QStringLiteral("-d"), QStringLiteral("display_errors=stderr"), QStringLiteral("-d"),
                  QStringLiteral("short_open_tag=1")});
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
    // The ASP code with every field as the wizard opens: the lines as the
    // user reads them, CR LF between them and nothing after "%>".
    void aspCodeWithItsDefaults()
    {
        const QStringList lines = {
            "<%",
            "'///ASP Database code",
            "Set dbConnection = Server.CreateObject(" + Q + "ADODB.Connection" + Q + ")",
            "Set dbRecord = Server.CreateObject(" + Q + "ADODB.Recordset" + Q + ")",
            "",
            "dbDSN = " + Q + "DRIVER=Microsoft Access Driver (*.mdb);DBQ=" + Q + Q + "C:\\MyDatabase.mdb" + Q,
            "dbConnection.Open dbDSN",
            "",
            "dbSQL = " + Q + "SELECT * FROM table1" + Q,
            "dbRecord.Open dbSQL, dbConnection, 3, 3",
            "",
            "Do While Not dbRecord.EOF",
            "   '///Quirkpad: You will need to customise the next line to display your fields of code",
            "",
            "   Response.Write dbRecord(" + Q + "Field1" + Q + ")",
            "   Response.Write " + Q + "<br>" + Q,
            "",
            "   dbRecord.MoveNext",
            "Loop",
            "%>",
        };
        QCOMPARE(asp({}), lines.join(QStringLiteral("\r\n")));
    }

    // Fields go in as typed: an empty one leaves nothing at its place, a
    // quote stays a quote.
    void aspFieldsGoInAsTyped()
    {
        const QStringList empty = asp({"", "", "", "", "", ""}).split(QStringLiteral("\r\n"));
        QCOMPARE(empty.value(2), "Set  = Server.CreateObject(" + Q + "ADODB.Connection" + Q + ")");
        QVERIFY(empty.value(5).startsWith(QLatin1String(" = ")));
        const AspFields quoted{"c\"n", "r", "d", "s", "C:\\My \"Db\".mdb", "SELECT * FROM t WHERE a = \"<&>\""};
        const QString code = asp(quoted);
        for (const QString& field : {quoted.conn, quoted.dbLocation, quoted.sqlCommand})
            QVERIFY2(code.contains(field), qPrintable(field));
        QCOMPARE(code.count(QStringLiteral("c\"n")), 3);
    }

    // The old PHP code run against stand-ins for its functions: it connects
    // with the fields as typed, selects the database, runs the query, prints
    // the field of every row with a break, and cleans up; a refused
    // connection ends with the error message alone.
    void mysqlCodeRuns_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("other");   // every other field
        QTest::addColumn<QString>("output");
        QTest::newRow("typed") << "localhost" << "x y" << QStringLiteral(R"(["connect","localhost","x y","x y"]
["select","x y"]
["query","x y"]
Field1 of row 0<br>Field1 of row 1<br>["free","result"]
["close","link"]
)");
        QTest::newRow("emptied") << "" << "" << QStringLiteral(R"(["connect","","",""]
["select",""]
["query",""]
Field1 of row 0<br>Field1 of row 1<br>["free","result"]
["close","link"]
)");
        QTest::newRow("refused") << "down" << "No database."
                                 << QStringLiteral(R"(["connect","down","No database.","No database."]
No database.)");
    }

    void mysqlCodeRuns()
    {
        QFETCH(QString, host);
        QFETCH(QString, other);
        QFETCH(QString, output);
        QCOMPARE(runPhp(QString::fromUtf8(kFakeMysql) + php(phpFields(host, other, other, other, other, other))),
                 output);
    }

    // With every field at its default, the two lines as the user reads them.
    void mysqlCodeWithItsDefaults()
    {
        const QStringList lines = php({}).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(0), QStringLiteral("<?"));
        QCOMPARE(lines.value(2), QStringLiteral(R"($link = mysql_connect("Host_Name", "User_Name", "Dbsecret"))"
                                                R"( or die("Could not connect.");)"));
        QCOMPARE(lines.value(3), QStringLiteral(R"(mysql_select_db("Database_name") or die("Could not connect.");)"));
    }

    // Every flavour's code ends with its closing tag, no line break after it.
    void codeEndsWithItsClosingTag()
    {
        QVERIFY(asp({}).endsWith(QLatin1String("\r\nLoop\r\n%>")));
        QVERIFY(php({}).endsWith(QLatin1String(";\r\n?>")));
        QVERIFY(phpPdo({}).endsWith(QLatin1String("}\r\n?>")));
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
