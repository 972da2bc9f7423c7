#pragma once

#include <QList>
#include <QString>

#include <array>

// One line of the officer list, in Forder order: its office (title, code, order, whether it heads a group
// of offices) and the member holding it.
struct Officer
{
    QString Title;
    QString Code;
    qint32 Order = 0;
    bool Heading = false;
    QString Cert;
    QString Last;
    QString First;
    QString Rank;
    QString Grade;
};

// One entry of a recognition list: the member, the office or reason for the recognition, and the list
// (1..7) it belongs to; an unused entry is all empty with Category 0.
struct RecognizedEntry
{
    QString Cert;
    QString Last;
    QString First;
    QString Rank;
    QString Grade;
    QString Office;
    qint32 Category = 0;
};

// The report held in memory while it is open: one value for every field of the one-row tables Misc,
// Education and Activities, the officer list and the seven recognition lists.
//
// Officer rows run 1..officerCount(), recognition categories 1..7 and entries 1..24, as the report numbers
// them; ActivityText and the course counts are indexed from 0 like the option buttons that select them.
struct ReportModel
{
    static constexpr int CategoryCount = 7;
    static constexpr int EntriesPerCategory = 24;
    static constexpr int ActivityCount = 13;

    // Squadron identity: set from the host, saved into Misc, never loaded from it.
    QString SquadronName;
    QString SquadronCode;
    qint32 SquadronNo = 0;
    QString SquadronNoText;
    qint32 DistrictNo = 0;

    // Misc
    QString SubDate;
    QString FromDate;
    QString ToDate;
    QString ReportYear;
    qint32 NoMM = 0;
    bool Incorp = false;
    qint32 NoActive = 0;
    qint32 NoSenior = 0;
    QString SubOCert;
    QString SubOLast;
    QString SubOFirst;
    QString SubOGrade;
    QString SubORank;
    QString SubOAddress;
    QString SubOCity;
    QString SubOState;
    QString SubOZip;
    QString SubOTitle;
    QString SubOPhone;
    QString SubOEmail;
    QString PubName;
    QString SubmitURL;

    // Education: 0 AG_S, 1 AG_P, 2 AG_AP, 3 AG_JN, 4 AG_N
    std::array<qint32, 5> AGCount{};
    // 0 EG_EM, 1 EG_ME, 2 EG_SA, 3 EG_WE, 4 EG_ID, 5 EG_CP
    std::array<qint32, 6> EGCount{};
    // 0 PB_CBC, 1 PB_HWC, 2 PB_SBC
    std::array<qint32, 3> BCCount{};
    // 0 PB_DR, 1 OC_OT, 2 OC_LD, 3 OC_Sem
    std::array<qint32, 4> OCCount{};
    bool FromKUR = false;

    // Activities, in the order of the activities selector:
    // 0 Meetings, 1 Cruise, 2 CoopChart, 3 District, 4 National, 5 Community, 6 OtherPart,
    // 7 Award_D, 8 Award_N, 9 Award_C, 10 Award_O, 11 VSC, 12 Award_S
    std::array<QString, ActivityCount> ActivityText;

    // Officer list in Forder order: row r (1..officerCount()) is Officers[r - 1].
    QList<Officer> Officers;
    int officerCount() const { return int(Officers.size()); }
    Officer& officer(int row) { return Officers[row - 1]; }
    const Officer& officer(int row) const { return Officers[row - 1]; }

    // The seven recognition lists of 24 entries each.
    std::array<std::array<RecognizedEntry, EntriesPerCategory>, CategoryCount> Recognized{};
    RecognizedEntry& entry(int category, int entry) { return Recognized[size_t(category - 1)][size_t(entry - 1)]; }
    const RecognizedEntry& entry(int category, int entry) const
    {
        return Recognized[size_t(category - 1)][size_t(entry - 1)];
    }

    // Empties every entry of recognition list `category`.
    void clearCategory(int category) { Recognized[size_t(category - 1)].fill(RecognizedEntry()); }
};
