#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

#include <functional>

// Pure text functions behind the editing commands that change or insert text.
namespace TextTransforms {

// Told now and then, on long text, how much of the work is done, counted
// in bytes of the text; answers false to stop the work, whose result is
// then incomplete.
using Progress = std::function<bool(qsizetype done)>;

// The selection's text in upper or lower case, from UTF-8 to UTF-8 (the
// platform's full case mapping: "straße" becomes "STRASSE").
QByteArray upperCaseUtf8(QByteArrayView text, const Progress& progress = {});
QByteArray lowerCaseUtf8(QByteArrayView text, const Progress& progress = {});

// Reverses UTF-8 text in place, by the characters a reader sees: a line
// break (CR LF, a lone LF or a lone CR) stays one unit in its own order, a
// character outside the basic plane stays whole, and a combining mark stays
// on its base letter. "a", CR LF, "b" becomes "b", CR LF, "a". Adjacent line
// breaks stay together in their order, so no two of them merge into one.
void reverseUtf8(QByteArray& text, const Progress& progress = {});

// The locale's long time format without a time-zone field: hours, minutes
// and seconds as the regional settings show them ("1:05:07 PM", "13:05:07").
QString longTimeFormat(const QLocale& locale);
QString longTimeText(const QTime& time, const QLocale& locale);

// The locale's short date ("1/2/24", "02.01.24").
QString shortDateText(const QDate& date, const QLocale& locale);

// The general date-and-time text: the short date, one blank, the long time;
// the date alone when the time of day is exactly midnight (to the second).
QString generalDateTimeText(const QDateTime& moment, const QLocale& locale);

}
