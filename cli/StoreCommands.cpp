// Commands that show the stored report.

#include "Cli.h"

#include "app/Session.h"
#include "store/ReportIO.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

template <typename Array> QJsonArray numbers(const Array& values)
{
    QJsonArray list;
    for (const auto v : values)
        list.append(qint64(v));
    return list;
}

QJsonObject reportJson(const ReportModel& m)
{
    QJsonObject o;
    o.insert(QStringLiteral("SquadronName"), m.SquadronName);
    o.insert(QStringLiteral("SquadronCode"), m.SquadronCode);
    o.insert(QStringLiteral("SquadronNo"), m.SquadronNo);
    o.insert(QStringLiteral("SquadronNoText"), m.SquadronNoText);
    o.insert(QStringLiteral("DistrictNo"), m.DistrictNo);

    o.insert(QStringLiteral("SubDate"), m.SubDate);
    o.insert(QStringLiteral("FromDate"), m.FromDate);
    o.insert(QStringLiteral("ToDate"), m.ToDate);
    o.insert(QStringLiteral("ReportYear"), m.ReportYear);
    o.insert(QStringLiteral("NoMM"), m.NoMM);
    o.insert(QStringLiteral("Incorp"), m.Incorp);
    o.insert(QStringLiteral("NoActive"), m.NoActive);
    o.insert(QStringLiteral("NoSenior"), m.NoSenior);
    o.insert(QStringLiteral("SubOCert"), m.SubOCert);
    o.insert(QStringLiteral("SubOLast"), m.SubOLast);
    o.insert(QStringLiteral("SubOFirst"), m.SubOFirst);
    o.insert(QStringLiteral("SubOGrade"), m.SubOGrade);
    o.insert(QStringLiteral("SubORank"), m.SubORank);
    o.insert(QStringLiteral("SubOAddress"), m.SubOAddress);
    o.insert(QStringLiteral("SubOCity"), m.SubOCity);
    o.insert(QStringLiteral("SubOState"), m.SubOState);
    o.insert(QStringLiteral("SubOZip"), m.SubOZip);
    o.insert(QStringLiteral("SubOTitle"), m.SubOTitle);
    o.insert(QStringLiteral("SubOPhone"), m.SubOPhone);
    o.insert(QStringLiteral("SubOEmail"), m.SubOEmail);
    o.insert(QStringLiteral("PubName"), m.PubName);
    o.insert(QStringLiteral("SubmitURL"), m.SubmitURL);

    o.insert(QStringLiteral("AGCount"), numbers(m.AGCount));
    o.insert(QStringLiteral("EGCount"), numbers(m.EGCount));
    o.insert(QStringLiteral("BCCount"), numbers(m.BCCount));
    o.insert(QStringLiteral("OCCount"), numbers(m.OCCount));
    o.insert(QStringLiteral("FromKUR"), m.FromKUR);

    QJsonArray activities;
    for (const QString& t : m.ActivityText)
        activities.append(t);
    o.insert(QStringLiteral("ActivityText"), activities);

    // The officer list, one object per line in Forder order.
    o.insert(QStringLiteral("OfficerCount"), m.OfficerCount);
    QJsonArray officers;
    for (int i = 1; i <= m.OfficerCount; ++i) {
        QJsonObject line;
        line.insert(QStringLiteral("OffOrder"), m.OffOrder[i]);
        line.insert(QStringLiteral("OffTitle"), m.OffTitle[i]);
        line.insert(QStringLiteral("OffCode"), m.OffCode[i]);
        line.insert(QStringLiteral("OffHeading"), bool(m.OffHeading[i]));
        line.insert(QStringLiteral("OffCert"), m.OffCert[i]);
        line.insert(QStringLiteral("OffLast"), m.OffLast[i]);
        line.insert(QStringLiteral("OffFirst"), m.OffFirst[i]);
        line.insert(QStringLiteral("OffRank"), m.OffRank[i]);
        line.insert(QStringLiteral("OffGrade"), m.OffGrade[i]);
        officers.append(line);
    }
    o.insert(QStringLiteral("Officers"), officers);

    // The seven recognition lists ("1" to "7"), each with its entries in use, in order.
    QJsonObject recognized;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        QJsonArray entries;
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            if (m.RecLast[c][e].isEmpty())
                continue;
            QJsonObject entry;
            entry.insert(QStringLiteral("RecCert"), m.RecCert[c][e]);
            entry.insert(QStringLiteral("RecLast"), m.RecLast[c][e]);
            entry.insert(QStringLiteral("RecFirst"), m.RecFirst[c][e]);
            entry.insert(QStringLiteral("RecRank"), m.RecRank[c][e]);
            entry.insert(QStringLiteral("RecGrade"), m.RecGrade[c][e]);
            entry.insert(QStringLiteral("RecOffice"), m.RecOffice[c][e]);
            entry.insert(QStringLiteral("RecCategory"), m.RecCategory[c][e]);
            entries.append(entry);
        }
        recognized.insert(QString::number(c), entries);
    }
    o.insert(QStringLiteral("Recognized"), recognized);
    return o;
}

int dump(CliContext& c)
{
    Session& session = *c.session;
    QString why;
    if (!LoadReport(session, &why)) {
        *c.err << "r318form-cli: the report file " << session.CurrentDBPath << " could not be read: " << why << '\n';
        c.err->flush();
        return 1;
    }
    *c.out << QJsonDocument(reportJson(session.model)).toJson(QJsonDocument::Indented);
    return 0;
}

const CliRegistrar dumpCommand({"dump", true, dump, "dump                   print the stored report as JSON"});

} // namespace
