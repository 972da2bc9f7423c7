#pragma once

#include <QList>
#include <QString>

#include <array>

// The report held in memory while it is open: one value for every field of the one-row tables Misc,
// Education and Activities, the officer list and the seven recognition lists.
//
// Indexes keep the report's own numbering: officer rows run 1..OfficerCount, recognition categories 1..7
// and entries 1..24 (element 0 of those arrays is never used); ActivityText and the course counts are
// indexed from 0 like the option buttons that select them.
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

    // Officer list, rows 1..OfficerCount in Forder order; element 0 is unused.
    int OfficerCount = 0;
    QList<QString> OffTitle;
    QList<QString> OffCode;
    QList<qint32> OffOrder;
    QList<bool> OffHeading;
    QList<QString> OffCert;
    QList<QString> OffLast;
    QList<QString> OffFirst;
    QList<QString> OffRank;
    QList<QString> OffGrade;

    // Recognition table [category 1..7][entry 1..24]; index 0 of either dimension is unused.
    template <typename T>
    using RecArray = std::array<std::array<T, EntriesPerCategory + 1>, CategoryCount + 1>;
    RecArray<QString> RecCert;
    RecArray<QString> RecLast;
    RecArray<QString> RecFirst;
    RecArray<QString> RecRank;
    RecArray<QString> RecGrade;
    RecArray<QString> RecOffice;
    RecArray<qint32> RecCategory{};

    // Makes the nine officer arrays anew for rows 1..count, every value empty.
    void resizeOfficers(int count)
    {
        OfficerCount = count;
        const qsizetype n = count + 1;
        OffTitle = QList<QString>(n);
        OffCode = QList<QString>(n);
        OffOrder = QList<qint32>(n, 0);
        OffHeading = QList<bool>(n, false);
        OffCert = QList<QString>(n);
        OffLast = QList<QString>(n);
        OffFirst = QList<QString>(n);
        OffRank = QList<QString>(n);
        OffGrade = QList<QString>(n);
    }

    // Empties entry (category, entry) of the recognition table.
    void clearEntry(int category, int entry)
    {
        RecCert[category][entry].clear();
        RecLast[category][entry].clear();
        RecFirst[category][entry].clear();
        RecRank[category][entry].clear();
        RecGrade[category][entry].clear();
        RecOffice[category][entry].clear();
        RecCategory[category][entry] = 0;
    }

    void clearCategory(int category)
    {
        for (int e = 1; e <= EntriesPerCategory; ++e)
            clearEntry(category, e);
    }
};
