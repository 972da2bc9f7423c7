#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

struct HostSession;

// The upload file "R318_Upload.txt": the whole report as records of comma-separated values that the
// organisation's web site takes in. Every record ends with CR LF; the text is Windows-1252, one byte per
// character, and a character the code page cannot hold is written as one "?".

// Writes the upload file at session.UploadFilePath from the report database at session.CurrentDBPath (which
// the caller has just saved) and the course counts and squadron number of the report model. The file is
// written under a temporary name in the same folder and renamed into place, so the previous file stays whole
// until the new one is complete. False on failure, with *reason naming the file and what went wrong.
bool WriteUploadFile(const HostSession& session, QString* reason = nullptr);

// The same, written to uploadPath instead of session.UploadFilePath.
bool WriteUploadFile(const HostSession& session, const QString& uploadPath, QString* reason);

// Appends one value and a comma to the record being built: a number bare (an empty number as "0"), any other
// value between double quotes, unescaped.
void AddField(QString& record, const QString& value, bool isNumber);

// The text with every double quote replaced by an apostrophe.
QString ReplaceQuotes(const QString& text);

// A course count with its sign position: " 5", " 0", "-3".
QString SignedCount(qint64 count);

// The text in Windows-1252. Every character outside the code page becomes one "?"; a character outside the
// Basic Multilingual Plane (a surrogate pair) is one character, and so one "?".
QByteArray EncodeWindows1252(QStringView text);
