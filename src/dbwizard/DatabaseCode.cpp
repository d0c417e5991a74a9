#include "dbwizard/DatabaseCode.h"

#include <QStringList>

namespace DatabaseCode {
namespace {

const QString Q = QStringLiteral("\"");

// Lines joined by CR LF; an empty entry leaves an empty line.
QString joined(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

}

QString asp(const AspFields& f)
{
    return joined({
        QStringLiteral("<%"),
        QStringLiteral("'///ASP Database code"),
        "Set " + f.conn + " = Server.CreateObject(" + Q + "ADODB.Connection" + Q + ")",
        "Set " + f.records + " = Server.CreateObject(" + Q + "ADODB.Recordset" + Q + ")",
        QString(),
        // Two quotes in a row after DBQ=: the line as users of the wizard
        // have always had it, kept so that their pages stay the same.
        f.dsn + " = " + Q + "DRIVER=Microsoft Access Driver (*.mdb);DBQ=" + Q + Q + f.dbLocation + Q,
        f.conn + ".Open " + f.dsn,
        QString(),
        f.sql + " = " + Q + f.sqlCommand + Q,
        f.records + ".Open " + f.sql + ", " + f.conn + ", 3, 3",
        QString(),
        "Do While Not " + f.records + ".EOF",
        QStringLiteral("   '///Quirkpad: You will need to customise the next line to display your fields of code"),
        QString(),
        "   Response.Write " + f.records + "(" + Q + "Field1" + Q + ")",
        "   Response.Write " + Q + "<br>" + Q,
        QString(),
        "   " + f.records + ".MoveNext",
        QStringLiteral("Loop"),
        QStringLiteral("%>"),
    });
}

QString php(const PhpFields& f)
{
    const QString orDie = ") or die(" + Q + f.error + Q + ");";
    return joined({
        QStringLiteral("<?"),
        QStringLiteral("//PHP Database code"),
        "$link = mysql_connect(" + Q + f.host + Q + ", " + Q + f.username + Q + ", " + Q + f.password + Q + orDie,
        "mysql_select_db(" + Q + f.dbName + Q + orDie,
        "$SQL = " + Q + f.sql + Q + ";",
        QStringLiteral("$result = mysql_query($SQL);"),
        QString(),
        QStringLiteral("$rows = mysql_num_rows($result);"),
        QString(),
        QStringLiteral("for ($row = 0; $row < $rows; $row++)"),
        QStringLiteral("{"),
        "   echo (mysql_result($result, $row, " + Q + "Field1" + Q + "));",
        "   echo(" + Q + "<br>" + Q + ");",
        QStringLiteral("}"),
        QString(),
        QStringLiteral("//Clean up resultset"),
        QStringLiteral("mysql_free_result($result);"),
        QString(),
        QStringLiteral("//Close MySQL connection"),
        QStringLiteral("mysql_close($link);"),
        QStringLiteral("?>"),
    });
}

QString phpStringLiteral(const QString& text)
{
    // Inside single quotes PHP gives meaning to two characters only: the
    // backslash and the quote. Nothing else ($, {, ?>) is read as code there.
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString phpPdo(const PhpFields& f)
{
    return joined({
        QStringLiteral("<?php"),
        QStringLiteral("//PHP Database code (PDO)"),
        "$host = " + phpStringLiteral(f.host) + ";",
        "$userName = " + phpStringLiteral(f.username) + ";",
        "$password = " + phpStringLiteral(f.password) + ";",
        "$dbName = " + phpStringLiteral(f.dbName) + ";",
        "$SQL = " + phpStringLiteral(f.sql) + ";",
        QString(),
        QStringLiteral("try {"),
        QStringLiteral("    $dsn = 'mysql:host=' . $host . ';dbname=' . $dbName . ';charset=utf8mb4';"),
        QStringLiteral("    $link = new PDO($dsn, $userName, $password, ["),
        QStringLiteral("        PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,"),
        QStringLiteral("        PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,"),
        QStringLiteral("    ]);"),
        QStringLiteral("    $result = $link->prepare($SQL);"),
        QStringLiteral("    $result->execute();"),
        QString(),
        QStringLiteral("    foreach ($result as $row) {"),
        QStringLiteral("        //Quirkpad: You will need to customise the next line to display your fields"),
        QStringLiteral("        echo htmlspecialchars((string) $row['Field1']), '<br>';"),
        QStringLiteral("    }"),
        QString(),
        QStringLiteral("    //Clean up resultset and close the connection"),
        QStringLiteral("    $result = null;"),
        QStringLiteral("    $link = null;"),
        QStringLiteral("} catch (PDOException $e) {"),
        "    die(" + phpStringLiteral(f.error) + ");",
        QStringLiteral("}"),
        QStringLiteral("?>"),
    });
}

}
