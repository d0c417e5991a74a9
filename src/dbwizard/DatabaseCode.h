#pragma once
#include <QString>

// The server-side code the Database Connection Wizard writes: open a
// database, run one query, print one field of every row. Texts use CR LF and
// end without a line break after the closing tag.
namespace DatabaseCode {

// The ASP page's fields; the initial values are the texts the page opens with.
struct AspFields {
    QString conn = QStringLiteral("dbConnection");
    QString records = QStringLiteral("dbRecord");
    QString dsn = QStringLiteral("dbDSN");
    QString sql = QStringLiteral("dbSQL");
    QString dbLocation = QStringLiteral("C:\\MyDatabase.mdb");
    QString sqlCommand = QStringLiteral("SELECT * FROM table1");
};

// The PHP page's fields, shared by both PHP flavours.
struct PhpFields {
    QString host = QStringLiteral("Host_Name");
    QString username = QStringLiteral("User_Name");
    QString password = QStringLiteral("Dbsecret");
    QString dbName = QStringLiteral("Database_name");
    QString error = QStringLiteral("Could not connect.");
    QString sql = QStringLiteral("SELECT * FROM table1");
};

// ADO over an Access file. Fields go in exactly as typed, unchecked: what
// the user types is the code they asked for.
QString asp(const AspFields& f);

// The old mysql_* functions (gone since PHP 7), fields as typed.
QString php(const PhpFields& f);

// PHP 8 with PDO: exceptions on, a prepared query, every value printed
// escaped for HTML. Each field becomes a PHP string literal, so whatever it
// holds stays data and cannot end the string or the PHP block.
QString phpPdo(const PhpFields& f);

// A single-quoted PHP string literal holding the text exactly.
QString phpStringLiteral(const QString& text);

}
