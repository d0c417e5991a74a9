// The whole texts the wizard must write, as the user will read them (with
// \n for CR LF). Kept apart from the test class: moc misreads two quotes in
// a row inside a raw string and would not find the class after them.
#include "ExpectedDatabaseCode.h"

extern const char* const kAspDefaults = R"(<%
'///ASP Database code
Set dbConnection = Server.CreateObject("ADODB.Connection")
Set dbRecord = Server.CreateObject("ADODB.Recordset")

dbDSN = "DRIVER=Microsoft Access Driver (*.mdb);DBQ=""C:\MyDatabase.mdb"
dbConnection.Open dbDSN

dbSQL = "SELECT * FROM table1"
dbRecord.Open dbSQL, dbConnection, 3, 3

Do While Not dbRecord.EOF
   '///Quirkpad: You will need to customise the next line to display your fields of code

   Response.Write dbRecord("Field1")
   Response.Write "<br>"

   dbRecord.MoveNext
Loop
%>)";
extern const char* const kAspEmpty = R"(<%
'///ASP Database code
Set  = Server.CreateObject("ADODB.Connection")
Set  = Server.CreateObject("ADODB.Recordset")

 = "DRIVER=Microsoft Access Driver (*.mdb);DBQ="""
.Open 

 = ""
.Open , , 3, 3

Do While Not .EOF
   '///Quirkpad: You will need to customise the next line to display your fields of code

   Response.Write ("Field1")
   Response.Write "<br>"

   .MoveNext
Loop
%>)";
extern const char* const kAspQuoted = R"(<%
'///ASP Database code
Set c"n = Server.CreateObject("ADODB.Connection")
Set r = Server.CreateObject("ADODB.Recordset")

d = "DRIVER=Microsoft Access Driver (*.mdb);DBQ=""C:\My "Db".mdb"
c"n.Open d

s = "SELECT * FROM t WHERE a = "<&>""
r.Open s, c"n, 3, 3

Do While Not r.EOF
   '///Quirkpad: You will need to customise the next line to display your fields of code

   Response.Write r("Field1")
   Response.Write "<br>"

   r.MoveNext
Loop
%>)";
extern const char* const kPhpDefaults = R"(<?
//PHP Database code
$link = mysql_connect("Host_Name", "User_Name", "Dbsecret") or die("Could not connect.");
mysql_select_db("Database_name") or die("Could not connect.");
$SQL = "SELECT * FROM table1";
$result = mysql_query($SQL);

$rows = mysql_num_rows($result);

for ($row = 0; $row < $rows; $row++)
{
   echo (mysql_result($result, $row, "Field1"));
   echo("<br>");
}

//Clean up resultset
mysql_free_result($result);

//Close MySQL connection
mysql_close($link);
?>)";
extern const char* const kPdoDefaults = R"(<?php
//PHP Database code (PDO)
$host = 'Host_Name';
$userName = 'User_Name';
$password = 'Dbsecret';
$dbName = 'Database_name';
$SQL = 'SELECT * FROM table1';

try {
    $dsn = 'mysql:host=' . $host . ';dbname=' . $dbName . ';charset=utf8mb4';
    $link = new PDO($dsn, $userName, $password, [
        PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
        PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
    ]);
    $result = $link->prepare($SQL);
    $result->execute();

    foreach ($result as $row) {
        //Quirkpad: You will need to customise the next line to display your fields
        echo htmlspecialchars((string) $row['Field1']), '<br>';
    }

    //Clean up resultset and close the connection
    $result = null;
    $link = null;
} catch (PDOException $e) {
    die('Could not connect.');
}
?>)";
