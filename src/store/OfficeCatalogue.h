#pragma once

#include <QString>

#include <array>

class Prompt;
struct ReportSession;

// One line of the officer list: its title and its code (4 capital letters for a section heading, the
// host's 4-digit office code, or a single blank for an office without a host code).
struct CatalogueLine
{
    const char* title;
    const char* code;
};

inline constexpr int kCatalogueSize = 100;

// What an officer-list code stands for, told by its first character: a section heading ("BROF": "A" or later in
// character order), an office of the host's committee tables ("1701": a digit), or an office without a host
// code (a single blank, or anything else). An empty code is no code at all.
enum class OfficeCodeKind { Empty, Heading, HostOffice, NoHostCode };
OfficeCodeKind ClassifyOfficeCode(const QString& code);
// True for a section heading's code: the line never holds a member and is never searched in the host.
inline bool IsHeadingCode(const QString& code)
{
    return ClassifyOfficeCode(code) == OfficeCodeKind::Heading;
}

// The 100 lines of the officer list in their order (line i is element i - 1).
const std::array<CatalogueLine, kCatalogueSize>& OfficeCatalogue();

// Makes the model's officer arrays anew for the 100 catalogue lines (titles, codes, order 1..100, no
// members). With an empty mode it also writes one Officers row per line, members Null, into the report
// database at CurrentDBPath, or into the new file being built at `dbPath`; a failure shows "Can't update database, R318
// Form is disabled" with the engine's message and returns false, keeping the rows written so far. Any other mode
// ("UD") writes nothing.
bool BuildCatalogue(ReportSession& session, const QString& mode, Prompt& prompt, const QString& dbPath = {});

// Rebuilds the Officers table of the report at CurrentDBPath on the catalogue, keeping the members entered
// for each office code (given out in last-name, first-name order, vacant lines first), in one transaction
// under exclusive use. Then replaces an existing backup copy by a copy of the rebuilt file. A failure shows
// the warning "Problem updating old database." and leaves the table as it was; a backup copy that cannot be
// replaced is reported in a warning of its own (and false returned), the rebuilt table staying.
bool RebuildOfficers(ReportSession& session, Prompt& prompt);
