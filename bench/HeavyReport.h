#pragma once

#include <QString>

struct ReportModel;
struct Session;

// The heaviest report a squadron can keep: every office of the officer list and all 168 recognition slots
// hold a member with values of full field length, every Misc value and course count is set, and each of the
// thirteen activity texts runs to several printed pages (invented prose with paragraphs, quotes and letters
// outside ASCII). Built deterministically from a seed.

// Fills the model; its officer list (titles and codes) must already be loaded. The watch year is Sep 1, 2019
// to Aug 31, 2020.
void MakeHeavyReport(ReportModel& model, quint64 seed = 318);

// The length of each activity text, in characters.
inline constexpr int kHeavyActivityChars = 16000;

// Loads the report at session.CurrentDBPath for its officer list, makes it heavy and saves it through the
// store. False, with the reason, when the report cannot be read or written.
bool WriteHeavyReport(Session& session, QString* error = nullptr, quint64 seed = 318);
